// Any bytes parse as a catalog: rows numbered 1, 2, ... up to the page limit, no row from an
// empty line, and the line splitting agrees with the rows. Seeds: the sample book's catalog.
#include "core/catalog.h"
#include "fuzz_app.h"
#include "platform/text_codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size).toByteArray();
    const std::vector<core::CatalogRow> rows = core::parseCatalog(input);
    const QStringList lines = core::catalogLines(platform::decodeBookText(input));
    if (rows.size() != size_t(lines.size()) || rows.size() > size_t(core::kMaxPages)) std::abort();
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString& line = lines[qsizetype(i)];
        if (line.isEmpty() || line.contains(u'\r') || line.contains(u'\n')) std::abort();
        if (rows[i].pageNo != QString::number(i + 1)) std::abort();
        if (!line.startsWith(rows[i].imageFile)) std::abort();
        // Names checked as bare names never reach outside the book.
        for (const QString& name : {rows[i].imageFile, rows[i].textFile})
            if (core::isBareFileName(name) && name.contains(u'/')) std::abort();
    }
    // What the builder writes reads back as the same files.
    const std::vector<core::CatalogRow> again = core::parseCatalog(core::formatCatalog(rows));
    if (again.size() > rows.size()) std::abort();
    return 0;
}
