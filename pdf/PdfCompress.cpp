#include "pdf/PdfCompress.h"

#include <zlib.h>

namespace tessora {

namespace {
constexpr size_t kBufferSize = 64 * 1024;
constexpr int kLevels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};
} // namespace

struct TCompressionStream::TState {
    z_stream Z{};
    unsigned char Buffer[kBufferSize];
    int64_t TotalIn = 0;
};

TCompressionStream::TCompressionStream(TCompressionLevel level, std::vector<uint8_t>& dest)
    : State(std::make_unique<TState>()), Dest(dest) {
    z_stream& z = State->Z;
    if (deflateInit(&z, kLevels[level]) != Z_OK) throw ECompressionError(pdfmsg::CompressionError);
    z.next_out = State->Buffer;
    z.avail_out = kBufferSize;
}

TCompressionStream::~TCompressionStream() {
    if (!Finished) {
        try {
            Finish();
        } catch (...) {
        }
    }
    deflateEnd(&State->Z);
}

void TCompressionStream::Write(const void* data, size_t count) {
    if (Finished) throw ECompressionError(pdfmsg::InvalidStreamOperation);
    z_stream& z = State->Z;
    auto* p = static_cast<const unsigned char*>(data);
    State->TotalIn += int64_t(count);
    while (count > 0) {
        const uInt chunk = count > 0x40000000u ? 0x40000000u : uInt(count);
        z.next_in = const_cast<unsigned char*>(p);
        z.avail_in = chunk;
        while (z.avail_in > 0) {
            if (deflate(&z, Z_NO_FLUSH) == Z_STREAM_ERROR) throw ECompressionError(pdfmsg::CompressionError);
            if (z.avail_out == 0) {
                Dest.insert(Dest.end(), State->Buffer, State->Buffer + kBufferSize);
                z.next_out = State->Buffer;
                z.avail_out = kBufferSize;
            }
        }
        p += chunk;
        count -= chunk;
    }
}

size_t TCompressionStream::Read(void*, size_t) {
    throw ECompressionError(pdfmsg::InvalidStreamOperation);
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
    if ((origin == soCurrent && offset == 0) || (origin == soBeginning && offset == State->TotalIn))
        return State->TotalIn;
    throw ECompressionError(pdfmsg::InvalidStreamOperation);
}

void TCompressionStream::Finish() {
    if (Finished) return;
    Finished = true;
    z_stream& z = State->Z;
    z.next_in = nullptr;
    z.avail_in = 0;
    for (;;) {
        const int rc = deflate(&z, Z_FINISH);
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
            throw ECompressionError(pdfmsg::CompressionError);
        const size_t have = kBufferSize - z.avail_out;
        if (have > 0) Dest.insert(Dest.end(), State->Buffer, State->Buffer + have);
        z.next_out = State->Buffer;
        z.avail_out = kBufferSize;
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && have == 0) throw ECompressionError(pdfmsg::CompressionError);
    }
}

} // namespace tessora
