#include "wmfwriter.h"

#include "aci.h"
#include "core/wmfwriter.h"

namespace quarvel {

QByteArray slideToWmf(const SlideHeader &header, const SlideDrawing &drawing, QColor background)
{
    std::string out;
    core::StringSink sink(out);
    core::writeWmf(sink, header, drawing, toCoreRgb(background));
    return QByteArray::fromStdString(out);
}

} // namespace quarvel
