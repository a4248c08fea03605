#include "shelf/PdfPages.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <memory>

namespace quillon {

int PdfPages::join(const std::vector<Source>& sources, const std::string& output, std::string& error)
{
    try {
        QPDF joined;
        joined.emptyPDF();
        QPDFPageDocumentHelper target(joined);
        // Pages copied from another document need it until the write.
        std::vector<std::unique_ptr<QPDF>> open;
        for (const Source& source : sources) {
            auto document = std::make_unique<QPDF>();
            document->setSuppressWarnings(true);
            try {
                if (source.bytes.empty())
                    document->processFile(source.path.c_str());
                else
                    document->processMemoryFile(source.path.c_str(), source.bytes.data(),
                                                source.bytes.size());
                if (document->isEncrypted())
                    continue;
                for (auto& page : QPDFPageDocumentHelper(*document).getAllPages())
                    target.addPage(page, false);
            } catch (const std::exception&) {
                continue;
            }
            open.push_back(std::move(document));
        }
        const int count = int(target.getAllPages().size());
        if (count == 0) {
            error = "no readable page";
            return 0;
        }
        QPDFWriter writer(joined, output.c_str());
        writer.write();
        return count;
    } catch (const std::exception& failure) {
        error = failure.what();
        std::remove(output.c_str());
        return 0;
    }
}

std::vector<std::pair<double, double>> PdfPages::sizes(const std::string& path)
{
    std::vector<std::pair<double, double>> result;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processFile(path.c_str());
        for (auto& page : QPDFPageDocumentHelper(document).getAllPages()) {
            const auto box = page.getMediaBox().getArrayAsRectangle();
            result.emplace_back(box.urx - box.llx, box.ury - box.lly);
        }
    } catch (const std::exception&) {
        result.clear();
    }
    return result;
}

} // namespace quillon
