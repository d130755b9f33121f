#pragma once
// TCompressionStream: a thin write-only stream over zlib's deflate.
#include "pdf/PdfError.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tessora {

// zlib levels 0, 1, -1 (default) and 9.
enum TCompressionLevel { clNone, clFastest, clDefault, clMax };
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TCompressionStream {
public:
    // Compressed bytes are appended to dest, a full 64 KiB output buffer at a time.
    TCompressionStream(TCompressionLevel level, std::vector<uint8_t>& dest);
    // Finishes the zlib stream when Finish was not called; errors are lost then.
    ~TCompressionStream();
    TCompressionStream(const TCompressionStream&) = delete;
    TCompressionStream& operator=(const TCompressionStream&) = delete;

    // Feeds data through deflate with no flush. ECompressionError("Error") on a zlib failure.
    void Write(const void* data, size_t count);
    // Always ECompressionError("Invalid stream operation").
    size_t Read(void* data, size_t count);
    // Only to the current position (bytes written so far), which it returns; anything else
    // raises ECompressionError("Invalid stream operation").
    int64_t Seek(int64_t offset, TSeekOrigin origin);
    // Writes the rest: zlib header, deflate data and Adler-32 trailer are then complete.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> State;
    std::vector<uint8_t>& Dest;
    bool Finished = false;
};

} // namespace tessora
