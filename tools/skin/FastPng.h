#pragma once

#include <QByteArray>
#include <QImage>

namespace k4812::skin {

// The PNG file of an image in the form compactForm gives (palette, opaque or
// with alpha), written so that it decodes fast: every row unfiltered and the
// data deflated at a low level. The program decodes the window's background
// at every start; unfiltered rows spare the per-byte filter pass, and a low
// level's matches inflate faster than the longer chains of the highest one.
// The file is larger than the default writer's, the pixels the same.
// An empty array when the image cannot be written.
QByteArray fastDecodingPng(const QImage& compact);

} // namespace k4812::skin
