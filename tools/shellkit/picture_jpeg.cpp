#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "picture.h"

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf resume;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default handler ends the process; this one returns to the decoder's caller.
void ThrowBack(j_common_ptr info)
{
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->resume, 1);
}

// Counts the warnings (a damaged or cut-short file among them) without printing them.
void CountWarning(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

bool Decode(const std::vector<uint8_t>& bytes, Picture& picture, char* message)
{
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = ThrowBack;
    trap.manager.emit_message = CountWarning;
    trap.message[0] = '\0';
    if (setjmp(trap.resume) != 0) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", trap.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.rgb.assign(static_cast<size_t>(picture.width) * picture.height * 3, 0);
    // From the decoder's own pool, which it frees itself even when it jumps back here.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
    while (info.output_scanline < info.output_height) {
        const size_t y = info.output_scanline;
        jpeg_read_scanlines(&info, rows, 1);
        std::copy(rows[0], rows[0] + picture.width * 3, picture.rgb.begin() + y * picture.width * 3);
    }
    // A file cut short decodes as grey rows with a warning; the player would see them.
    const long warnings = trap.manager.num_warnings;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (warnings > 0) {
        std::snprintf(message, JMSG_LENGTH_MAX, "the picture's data is damaged or cut short");
        return false;
    }
    return true;
}

}  // namespace

bool DecodeJpegBytes(const std::string&, const std::vector<uint8_t>& bytes, Picture& picture, std::string& error)
{
    char message[JMSG_LENGTH_MAX];
    if (!Decode(bytes, picture, message)) {
        error = std::string("does not decode: ") + message;
        return false;
    }
    return true;
}
