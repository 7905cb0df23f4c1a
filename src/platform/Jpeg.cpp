#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/Errors.h"

namespace vexamo {

namespace {

// libjpeg's own error handler calls exit(); a bad picture must never end the agent, so errors
// jump back to DecodeJpeg, which raises them as exceptions once libjpeg's frames are gone.
struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr info, const char* message) {
    auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(mgr->Message, sizeof mgr->Message, "%s", message);
    std::longjmp(mgr->Jump, 1);
}

[[noreturn]] void OnError(j_common_ptr info) {
    auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, mgr->Message);
    std::longjmp(mgr->Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // Trace messages are dropped (the agent has no console). A warning means corrupt data: a
    // premature end, a bad code, a scan out of order. libjpeg would carry on to the end, padding
    // with grey, and call the result a success; the decoding stops where the fault is found.
    if (level >= 0)
        return;
    if (info->err->msg_code == JWRN_JPEG_EOF)
        Fail(info, "the data ends before the picture does");
    OnError(info);
}

void OnProgress(j_common_ptr info) {
    // libjpeg calls this before each row of input it consumes, so an extra scan is refused as soon
    // as its header is read, before any pass over the picture is made for it.
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > JpegMaxScans)
        Fail(info, "the picture has too many scans");
}

// libjpeg's whole-picture buffers (the coefficients of a progressive picture) are held to what the
// largest accepted picture needs, 48 MiB for three full-size components, plus room. It is a second
// fence behind the size check: a buffer beyond it fails ("Backing store not supported") instead of
// being allocated.
constexpr long MaxLibjpegMemory = 64l * 1024 * 1024;

}  // namespace

// Everything the decoder changes lives behind one pointer that is fixed before setjmp, so
// nothing is left indeterminate when libjpeg jumps back.
struct Decoder {
    jpeg_decompress_struct Info;
    ErrorManager Err;
    jpeg_progress_mgr Progress;
    JpegImage Image;
};

JpegImage DecodeJpeg(const std::string& bytes) {
    static const unsigned char Empty = 0;
    const auto d = std::make_unique<Decoder>();
    jpeg_decompress_struct& info = d->Info;
    info.err = jpeg_std_error(&d->Err.Base);
    d->Err.Base.error_exit = OnError;
    d->Err.Base.emit_message = OnMessage;
    d->Progress.progress_monitor = OnProgress;

    if (setjmp(d->Err.Jump)) {
        jpeg_destroy_decompress(&d->Info);
        throw Error(std::string("Invalid JPEG picture: ") + d->Err.Message);
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxLibjpegMemory;
    info.progress = &d->Progress;
    jpeg_mem_src(&info, bytes.empty() ? &Empty : reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width > JpegMaxSide || info.image_height > JpegMaxSide ||
        static_cast<unsigned long long>(info.image_width) * info.image_height > JpegMaxPixels) {
        jpeg_destroy_decompress(&info);
        throw Error("Invalid JPEG picture: the picture is too large");
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    JpegImage& image = d->Image;
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(image.Width) * 3;
    image.Rgb.resize(stride * image.Height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Rgb.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return std::move(image);
}

std::vector<unsigned char> BitmapRows(const JpegImage& image) {
    const std::size_t width = static_cast<std::size_t>(image.Width), stride = (width * 3 + 3) & ~std::size_t{3};
    std::vector<unsigned char> rows(stride * static_cast<std::size_t>(image.Height), 0);
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.Height); ++y)
        for (std::size_t x = 0; x < width; ++x)
            for (std::size_t c = 0; c < 3; ++c) rows[y * stride + x * 3 + c] = image.Rgb[(y * width + x) * 3 + 2 - c];
    return rows;
}

}  // namespace vexamo
