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
    bool Truncated;
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* mgr = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, mgr->Message);
    std::longjmp(mgr->Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // Warnings are not printed (the agent has no console). A premature end of the data is
    // remembered: libjpeg would otherwise pad the picture with grey and call it a success.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(info->err)->Truncated = true;
}

// Far beyond any picture the program ships, small enough that a hostile header cannot make the
// decoder ask for gigabytes.
constexpr unsigned long long MaxPixels = 64ull * 1024 * 1024;

}  // namespace

// Everything the decoder changes lives behind one pointer that is fixed before setjmp, so
// nothing is left indeterminate when libjpeg jumps back.
struct Decoder {
    jpeg_decompress_struct Info;
    ErrorManager Err;
    JpegImage Image;
};

JpegImage DecodeJpeg(const std::string& bytes) {
    static const unsigned char Empty = 0;
    const auto d = std::make_unique<Decoder>();
    jpeg_decompress_struct& info = d->Info;
    info.err = jpeg_std_error(&d->Err.Base);
    d->Err.Base.error_exit = OnError;
    d->Err.Base.emit_message = OnMessage;

    if (setjmp(d->Err.Jump)) {
        jpeg_destroy_decompress(&d->Info);
        throw Error(std::string("Invalid JPEG picture: ") + d->Err.Message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.empty() ? &Empty : reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (static_cast<unsigned long long>(info.image_width) * info.image_height > MaxPixels) {
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
    if (d->Err.Truncated)
        throw Error("Invalid JPEG picture: the data ends before the picture does");
    return std::move(image);
}

}  // namespace vexamo
