#pragma once

// The slide core's decoding (core/slidedata.h) for the Qt side: the same
// types under the quarvel namespace, plus conveniences for Qt containers.

#include "core/slidedata.h"

#include <QByteArray>
#include <QString>

namespace quarvel {

using core::ByteOrder;
using core::Damage;
using core::DecodeResult;
using core::kNewHeaderSize;
using core::kOldHeaderSize;
using core::kSlideId;
using core::kSlideIdLength;
using core::kSlideTypeByte;
using core::Line;
using core::Point;
using core::SlideDrawing;
using core::SlideHeader;
using core::SlideStats;
using core::damageText;
using core::decodeSlide;
using core::hasSlideId;
using core::slideExtent;

inline DecodeResult decodeSlide(const QByteArray &bytes, SlideDrawing *drawing = nullptr)
{
    return core::decodeSlide(bytes.constData(), static_cast<std::size_t>(bytes.size()), drawing);
}

// The English wording of what is wrong with a decoded slide; empty when sound.
inline QString errorText(const DecodeResult &result)
{
    return QString::fromStdString(result.error);
}

} // namespace quarvel
