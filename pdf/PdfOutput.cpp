#include "pdf/PdfOutput.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tessora {

TPdfOutput::~TPdfOutput() {
    Discard();
}

bool TPdfOutput::Open(const std::string& path) {
    Discard();
    Fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    Buffer.clear();
    Buffer.reserve(kBufferSize);
    Pos = 0;
    return Fd >= 0;
}

void TPdfOutput::WriteAll(const char* p, size_t n) {
    if (Fd < 0) throw TPdfWriteFailure();
    while (n > 0) {
        const ssize_t k = ::write(Fd, p, n);
        if (k > 0) {
            p += k;
            n -= size_t(k);
        } else if (k < 0 && errno == EINTR) {
            continue;
        } else {
            throw TPdfWriteFailure();
        }
    }
}

void TPdfOutput::Write(const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    if (Buffer.size() + size <= kBufferSize) {
        Buffer.append(p, size);
    } else {
        Flush();
        if (size < kBufferSize)
            Buffer.append(p, size);
        else
            WriteAll(p, size); // large blocks (picture data) go straight to the file
    }
    Pos += int64_t(size);
}

void TPdfOutput::Flush() {
    if (Buffer.empty()) return;
    WriteAll(Buffer.data(), Buffer.size());
    Buffer.clear();
}

void TPdfOutput::Close() {
    // Written out to the kernel, not synced to the disk: the rename that follows can then only
    // fail or succeed whole for the program, and a regenerable PDF is not worth the wait of an
    // fsync (several times the writer's own work on a slow disk).
    Flush();
    const bool closed = ::close(Fd) == 0;
    Fd = -1;
    if (!closed) throw TPdfWriteFailure();
}

void TPdfOutput::Discard() {
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    Buffer.clear();
}

} // namespace tessora
