#include "slidearg.h"

#include "paths.h"

#include <system_error>

namespace quarvel::cli {

SlideArg parseSlideArg(const std::string &spec)
{
    SlideArg plain{spec, {}, false};
    if (spec.empty() || spec.back() != ')')
        return plain;
    const std::string lower = asciiLower(spec);
    SlideArg first;
    bool haveFirst = false;
    for (std::size_t at = lower.find(".slb("); at != std::string::npos; at = lower.find(".slb(", at + 1)) {
        SlideArg candidate{spec.substr(0, at + 4), spec.substr(at + 5, spec.size() - at - 6), true};
        std::error_code ec;
        if (std::filesystem::is_regular_file(toPath(candidate.file), ec))
            return candidate;
        if (!haveFirst) {
            first = candidate;
            haveFirst = true;
        }
    }
    return haveFirst ? first : plain;
}

} // namespace quarvel::cli
