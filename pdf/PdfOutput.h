#pragma once
// The output file of a TPdfBox: buffered writes that keep the stream position.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessora {

// Thrown by TPdfOutput when writing fails; TPdfBox turns it into "File write error, or disk full".
struct TPdfWriteFailure {};

class TPdfOutput {
public:
    ~TPdfOutput(); // closes without flushing
    // Creates or truncates the file; false when it cannot be created.
    bool Open(const std::string& path);
    void Write(const void* data, size_t size);
    void WriteLine(std::string_view line) {
        if (Buffer.size() + line.size() + 1 > kBufferSize) Flush();
        if (line.size() + 1 > kBufferSize) {
            Write(line.data(), line.size());
            Write("\n", 1);
            return;
        }
        Buffer.append(line);
        Buffer += '\n';
        Pos += int64_t(line.size()) + 1;
    }
    int64_t Position() const { return Pos; }
    void Flush();
    // Flushes and closes; TPdfWriteFailure when either fails.
    void Close();
    // Closes without flushing, ignoring errors.
    void Discard();

private:
    static constexpr size_t kBufferSize = 64 * 1024;
    void WriteAll(const char* p, size_t n);

    int Fd = -1;
    std::string Buffer;
    int64_t Pos = 0;
};

} // namespace tessora
