// PAD files: any bytes read as a product's PAD file, from memory and from a device alike. A file is
// either refused with a reason and no value, or read into values that a product profile can store,
// each trimmed and not empty; any text is matched against the category catalogue.
#include "products/CategoryCatalogue.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

void checkValue(const std::optional<QString>& value)
{
    check(!value || (!value->isEmpty() && *value == value->trimmed()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PadFile::Result read = PadFile::read(content);
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    const PadFile::Result fromDevice = PadFile::read(buffer);
    check(read.ok() == fromDevice.ok());

    if (read.ok()) {
        check(*read == *fromDevice);
        for (const auto& value :
             {read->programName, read->padUrl, read->regnowVendorId, read->regnowProductId})
            checkValue(value);
        check(ProductProfiles::serialize(PadFile::newProfile(*read)).ok());
    }
    const std::optional<int> position = PadFile::categoryPosition(QString::fromUtf8(content));
    check(!position || (*position >= 0 && *position < CategoryCatalogue::count()));
    return 0;
}
