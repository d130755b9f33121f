#include "pdf/PdfJpeg.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <exception>

#include <jerror.h>
#include <jpeglib.h>

namespace tessora {

namespace {

// libjpeg's own error_exit ends the process; ours jumps back to JpegEncode.
struct TJpegError {
    jpeg_error_mgr Mgr;
    std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<TJpegError*>(cinfo->err);
    std::longjmp(e->Jump, 1);
}

void OutputMessage(j_common_ptr) {} // no text on stderr

constexpr size_t kChunk = 256 * 1024;

struct TVectorDest {
    jpeg_destination_mgr Mgr;
    std::vector<uint8_t>* Out;
};

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TVectorDest*>(cinfo->dest);
    bool failed = false;
    try {
        d->Out->resize(kChunk);
    } catch (...) {
        failed = true;
    }
    if (failed) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    d->Mgr.next_output_byte = d->Out->data();
    d->Mgr.free_in_buffer = d->Out->size();
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TVectorDest*>(cinfo->dest);
    const size_t used = d->Out->size(); // the whole buffer is full when this is called
    bool failed = false;
    try {
        d->Out->resize(used * 2);
    } catch (...) {
        failed = true;
    }
    if (failed) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    d->Mgr.next_output_byte = d->Out->data() + used;
    d->Mgr.free_in_buffer = d->Out->size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<TVectorDest*>(cinfo->dest);
    d->Out->resize(d->Out->size() - d->Mgr.free_in_buffer);
}

} // namespace

bool JpegEncode(const TPdfPicture& picture, int quality, std::vector<uint8_t>& out) {
    // Everything with a destructor lives outside the span between setjmp and a longjmp.
    out.clear();
    const int width = picture.Width(), height = picture.Height();
    std::vector<uint32_t> buffer(width > 0 ? size_t(width) : 1u);
    std::exception_ptr failure;

    jpeg_compress_struct cinfo;
    TJpegError err;
    TVectorDest dest;
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = ErrorExit;
    err.Mgr.output_message = OutputMessage;
    if (setjmp(err.Jump)) {
        jpeg_destroy_compress(&cinfo);
        out.clear();
        return false;
    }
    jpeg_create_compress(&cinfo);
    dest.Mgr.init_destination = InitDestination;
    dest.Mgr.empty_output_buffer = EmptyOutputBuffer;
    dest.Mgr.term_destination = TermDestination;
    dest.Out = &out;
    cinfo.dest = &dest.Mgr;

    cinfo.image_width = JDIMENSION(width < 0 ? 0 : width);
    cinfo.image_height = JDIMENSION(height < 0 ? 0 : height);
    cinfo.input_components = 4;
    // A QRgb row is B, G, R, A in memory on little-endian machines.
    cinfo.in_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* row = nullptr;
        try {
            row = picture.ScanLine(int(cinfo.next_scanline), buffer.data());
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) break;
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(row))};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    if (failure) {
        jpeg_destroy_compress(&cinfo);
        out.clear();
        std::rethrow_exception(failure);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace tessora
