#pragma once

#include <QImage>

namespace k4812::skin {

// The smallest lossless form of a drawn image, which also decodes fastest: an
// image of at most 256 colours becomes a palette image, an opaque one drops
// its alpha channel. Every pixel keeps its exact colour.
QImage compactForm(const QImage& drawn);

} // namespace k4812::skin
