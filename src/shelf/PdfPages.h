#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quillon {

/// PDF pages through libqpdf. Its headers do not build as C++20 with every
/// compiler we use, so only PdfPages.cpp includes them (built as C++17) and
/// this header holds nothing but standard types.
class PdfPages {
public:
    PdfPages() = delete;

    /// A document to take pages from: a file, or a document in memory.
    struct Source {
        std::string path;
        std::string bytes;
    };

    /// Writes every page of each readable source in order into `output`;
    /// encrypted or broken sources give none. The number of pages written;
    /// 0, with `error` set and no file left, when nothing was written.
    static int join(const std::vector<Source>& sources, const std::string& output, std::string& error);
    /// Each page's media box size in points; none when the file does not open.
    static std::vector<std::pair<double, double>> sizes(const std::string& path);
};

} // namespace quillon
