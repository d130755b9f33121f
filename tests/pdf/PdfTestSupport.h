#pragma once
// Reading back what the writer wrote: objects through the cross-reference table, streams by
// their /Length, qpdf --check on every file a test writes, pdftoppm rendering.
#include "pdf/PdfBox.h"
#include "tests/common/uTestSupport.h"

#include <QFile>
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessora::test {

// ASCII85 decoder of the PDF filter, for round trips.
inline std::string Decode85(std::string_view s) {
    std::string out;
    uint32_t v = 0;
    int n = 0;
    for (char c : s) {
        if (c == '~') break;
        if (c == 'z' && n == 0) {
            out.append(4, '\0');
            continue;
        }
        v = v * 85 + uint32_t(c - 33);
        if (++n == 5) {
            for (int k = 3; k >= 0; --k)
                out += char((v >> (8 * k)) & 0xFF);
            v = 0;
            n = 0;
        }
    }
    if (n > 0) {
        for (int k = n; k < 5; ++k)
            v = v * 85 + 84;
        for (int k = 0; k < n - 1; ++k)
            out += char((v >> (8 * (3 - k))) & 0xFF);
    }
    return out;
}

inline std::vector<std::string> SplitLines(std::string_view s) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < s.size()) {
        const size_t lf = s.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(s.substr(start));
            break;
        }
        lines.emplace_back(s.substr(start, lf - start));
        start = lf + 1;
    }
    return lines;
}

inline std::string ReadBytes(const std::string& path) {
    const QByteArray b = ReadAll(path);
    return std::string(b.constData(), size_t(b.size()));
}

// A written PDF, its objects located through its own cross-reference table.
struct TPdfFile {
    std::string Bytes;
    std::vector<long long> Offsets; // Offsets[n]: offset of object n (entry 0 unused)
    long long XrefOffset = -1;
    std::vector<std::string> Trailer;

    bool Has(int n) const { return n > 0 && size_t(n) < Offsets.size(); }

    // The object's text from "n 0 obj" to "endobj" inclusive, or empty.
    std::string Object(int n) const {
        if (!Has(n)) return {};
        const size_t at = size_t(Offsets[size_t(n)]);
        const std::string head = std::to_string(n) + " 0 obj\n";
        if (Bytes.compare(at, head.size(), head) != 0) return {};
        const std::string tail = "endstream\nendobj\n";
        const size_t dictEnd = Bytes.find("\n>>\n", at);
        if (dictEnd == std::string::npos) return {};
        size_t end;
        if (Bytes.compare(dictEnd + 4, 7, "stream\n") == 0) {
            const size_t data = dictEnd + 11;
            end = data + size_t(StreamLength(n));
            const size_t e = Bytes.find("endstream\nendobj\n", end);
            if (e == std::string::npos) return {};
            end = e + tail.size();
        } else {
            const size_t e = Bytes.find("endobj\n", dictEnd);
            if (e == std::string::npos) return {};
            end = e + 7;
        }
        return Bytes.substr(at, end - at);
    }

    // The dictionary lines between "<<" and ">>".
    std::vector<std::string> Dict(int n) const {
        if (!Has(n)) return {};
        const size_t at = size_t(Offsets[size_t(n)]);
        const size_t open = Bytes.find("\n<<\n", at);
        const size_t close = Bytes.find("\n>>\n", at);
        if (open == std::string::npos || close == std::string::npos || close < open) return {};
        if (close == open) return {};
        return SplitLines(std::string_view(Bytes).substr(open + 4, close + 1 - (open + 4)));
    }

    long long StreamLength(int n) const {
        for (const std::string& l : Dict(n))
            if (l.rfind("/Length ", 0) == 0) return std::atoll(l.c_str() + 8);
        return -1;
    }

    // The bytes between the line feed after "stream" and "endstream" (the last line feed
    // included), whatever /Length says.
    std::string RawStream(int n) const {
        if (!Has(n)) return {};
        const size_t at = size_t(Offsets[size_t(n)]);
        const size_t s = Bytes.find("\n>>\nstream\n", at);
        if (s == std::string::npos) return {};
        const size_t data = s + 11;
        const size_t e = Bytes.find("endstream\nendobj\n", data);
        if (e == std::string::npos) return {};
        return Bytes.substr(data, e - data);
    }

    // The stream by its /Length.
    std::string Stream(int n) const {
        const std::string raw = RawStream(n);
        const long long len = StreamLength(n);
        if (len < 0 || size_t(len) > raw.size()) return {};
        return raw.substr(0, size_t(len));
    }
};

inline TPdfFile ParsePdf(std::string bytes) {
    TPdfFile f;
    f.Bytes = std::move(bytes);
    const size_t sx = f.Bytes.rfind("\nstartxref\n");
    if (sx == std::string::npos) return f;
    f.XrefOffset = std::atoll(f.Bytes.c_str() + sx + 11);
    if (f.XrefOffset < 0 || size_t(f.XrefOffset) >= f.Bytes.size()) return f;
    size_t p = size_t(f.XrefOffset);
    if (f.Bytes.compare(p, 5, "xref\n") != 0) return f;
    p += 5;
    if (f.Bytes.compare(p, 2, "0 ") != 0) return f;
    const long long count = std::atoll(f.Bytes.c_str() + p + 2);
    p = f.Bytes.find('\n', p) + 1;
    for (long long i = 0; i < count && p + 20 <= f.Bytes.size(); ++i, p += 20)
        f.Offsets.push_back(std::atoll(f.Bytes.substr(p, 10).c_str()));
    const size_t t = f.Bytes.find("trailer\n", p);
    if (t != std::string::npos) f.Trailer = SplitLines(std::string_view(f.Bytes).substr(t, sx + 1 - t));
    return f;
}

inline TPdfFile ReadPdf(const std::string& path) {
    return ParsePdf(ReadBytes(path));
}

// qpdf --check: exit 0 (no errors, no warnings).
inline ::testing::AssertionResult QpdfCheck(const std::string& path) {
    if (!HaveTool("qpdf")) return ::testing::AssertionFailure() << "qpdf is not installed";
    const TRunResult r = Run("qpdf", {"--check", QString::fromStdString(path)});
    if (r.ExitCode == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "qpdf --check " << path << " exit " << r.ExitCode << "\n"
                                         << r.Out.toStdString() << r.Err.toStdString();
}

// The first page rendered by pdftoppm at dpi, or a null image.
inline QImage RenderPage(const std::string& pdf, int dpi, const std::string& prefix) {
    const TRunResult r = Run("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png",
                                          QString::fromStdString(pdf), QString::fromStdString(prefix)});
    if (r.ExitCode != 0) return {};
    for (const char* suffix : {"-1.png", "-01.png", "-001.png"}) {
        QImage img(QString::fromStdString(prefix + suffix));
        if (!img.isNull()) return img.convertToFormat(QImage::Format_RGB32);
    }
    return {};
}

// Every test writes into its own folder; TearDown runs qpdf --check on every PDF left there.
class PdfFileTest : public ::testing::Test {
protected:
    TTempDir Dir;

    std::string Out(const std::string& name) const { return Dir.File(name); }

    void TearDown() override {
        std::error_code ec;
        for (const auto& e : std::filesystem::recursive_directory_iterator(Dir.Path(), ec))
            if (e.is_regular_file() && e.path().extension() == ".pdf") {
                EXPECT_TRUE(QpdfCheck(e.path().string()));
            }
    }

    // A box on A4 in tenths of a millimetre, portrait, writing to name in the test's folder.
    static void SetA4(TPdfBox& pdf) {
        pdf.SetLengthUnit(luTenth);
        pdf.SetOrientation(poPortrait);
        pdf.SetPaperSize(9);
    }
};

} // namespace tessora::test
