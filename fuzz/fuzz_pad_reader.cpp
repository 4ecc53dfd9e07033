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
    const PadFile::Result read = PadFile::read(content, QStringLiteral("fuzz.xml"));
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    const PadFile::Result fromDevice = PadFile::read(buffer, QStringLiteral("fuzz.xml"));
    check(read.values == fromDevice.values && read.ok() == fromDevice.ok());

    if (!read.ok()) {
        check(read.values == PadFile::Values{});
    } else {
        for (const auto& value : {read.values.programName, read.values.padUrl, read.values.regnowVendorId,
                                  read.values.regnowProductId})
            checkValue(value);
        check(ProductProfiles::serialize(PadFile::newProfile(read.values)).has_value());
    }
    const std::optional<int> position = PadFile::categoryPosition(QString::fromUtf8(content));
    check(!position || (*position >= 0 && *position < CategoryCatalogue::count()));
    return 0;
}
