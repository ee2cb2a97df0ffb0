#include "widgets/KvPng.h"

#include <QFile>
#include <csetjmp>
#include <png.h>

namespace velmora {

namespace {

struct Reader {
    const QByteArray* data;
    size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->pos + length > size_t(r->data->size()))
        png_error(png, "the PNG data ends early");
    memcpy(out, r->data->constData() + r->pos, length);
    r->pos += length;
}

struct ErrorSink {
    char message[256] = {};
};

void OnError(png_structp png, png_const_charp msg) {
    auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(png));
    snprintf(sink->message, sizeof sink->message, "%s", msg);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

} // namespace

QImage KvDecodePng(const QByteArray& data, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QImage();
    };
    if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.constData()), 0, 8))
        return fail(QStringLiteral("not a PNG image"));

    ErrorSink sink;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
    if (!png)
        return fail(QStringLiteral("out of memory"));
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return fail(QStringLiteral("out of memory"));
    }
    Reader reader{&data};
    QImage image; // declared before setjmp so a longjmp cannot skip its destructor
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return fail(QString::fromLatin1(sink.message));
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    // Guards against hostile images that claim gigantic sizes.
    png_set_user_limits(png, 16384, 16384);
    png_read_info(png, info);

    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != width * 4)
        png_error(png, "unexpected row layout");
    image = QImage(int(width), int(height), QImage::Format_RGBA8888);
    if (image.isNull())
        png_error(png, "out of memory");
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.scanLine(int(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage KvLoadPng(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return QImage();
    }
    return KvDecodePng(file.readAll(), error);
}

QByteArray KvRemoveGammaChunk(const QByteArray& data) {
    if (data.size() < 8)
        return data;
    QByteArray out = data.left(8);
    qsizetype pos = 8;
    while (pos + 12 <= data.size()) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + pos);
        const quint32 length =
            (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
        if (length > quint32(data.size() - pos - 12))
            break; // damaged: keep the rest as it is
        const qsizetype chunkSize = 12 + qsizetype(length);
        if (memcmp(p + 4, "gAMA", 4) != 0)
            out.append(data.constData() + pos, chunkSize);
        pos += chunkSize;
    }
    out.append(data.constData() + pos, data.size() - pos);
    return out;
}

} // namespace velmora
