// The program's one PNG decoder: libpng into QImage.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace velmora {

// Decodes a PNG file held in memory into a 32-bit premultiplied-alpha image.
// Any colour type and bit depth is expanded to 8-bit RGBA. A gamma chunk is
// ignored: the pixels are taken as they are stored. On failure the image is
// null and `error`, when given, says why.
QImage KvDecodePng(const QByteArray& data, QString* error = nullptr);
// Reads and decodes a PNG file or resource (":/..." paths work too).
QImage KvLoadPng(const QString& path, QString* error = nullptr);
// The same PNG data without its gAMA chunk, so that no decoder that honours it
// shifts the colours of a glyph away from the colours of its neighbours.
QByteArray KvRemoveGammaChunk(const QByteArray& data);

} // namespace velmora
