#include "wmfwriter.h"

namespace quarvel {

QByteArray slideToWmf(const SlideHeader &, const SlideDrawing &, QColor)
{
    return {};
}

} // namespace quarvel
