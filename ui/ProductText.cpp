#include "ui/ProductText.h"

#include <QUrl>

QString ProductText::fieldLabel(ProductField field)
{
    switch (field) {
    case ProductField::ProgramName:
        return tr("Program Name");
    case ProductField::Category:
        return tr("Category");
    case ProductField::PadUrl:
        return tr("PAD URL");
    case ProductField::RegnowVendorId:
        return tr("Regnow Vender ID");
    case ProductField::RegnowProductId:
        return tr("Regnow Product ID");
    }
    return {};
}

QString ProductText::describe(const ProductProfiles::Problem& problem)
{
    using Kind = ProductProfiles::Problem::Kind;
    switch (problem.kind) {
    case Kind::EmptyName:
        return tr("Nothing saved: type a program name first.");
    case Kind::NameWithSeparator:
        return tr("Nothing saved: a program name cannot hold / or \\.");
    case Kind::NameWithLeadingDot:
        return tr("Nothing saved: a program name cannot begin with \".\".");
    case Kind::NameWithControlCharacter:
        return tr("Nothing saved: the program name holds a control character.");
    case Kind::LineBreak:
    case Kind::UnencodableCharacter:
        if (problem.field == ProductField::ProgramName)
            return tr("Nothing saved: the program name holds a character a profile file cannot store.");
        return tr("Nothing saved: the %1 holds a character a profile file cannot store.")
            .arg(fieldLabel(problem.field));
    case Kind::InfoFolderNotMade:
        return tr("Nothing saved: the folder Info could not be created.");
    case Kind::FileNotWritten:
        return tr("Nothing saved: the file %1 could not be written.").arg(problem.detail);
    case Kind::FileNotDeleted:
        return tr("Not deleted: %1 (%2).").arg(problem.detail, problem.reason);
    case Kind::OldFileNotDeleted:
        return tr("Nothing saved: %1 cannot be removed for the rename (%2).")
            .arg(problem.detail, problem.reason);
    case Kind::PartlyChanged:
        return tr("Only partly done: %1 could not be changed (%2), and the files changed before it could not "
                  "all be put back. Check the folder Info.")
            .arg(problem.detail, problem.reason);
    }
    return {};
}

QString ProductText::describe(const PadFile::Problem& problem, const QString& fileName)
{
    using Kind = PadFile::Problem::Kind;
    switch (problem.kind) {
    case Kind::TooLarge:
        return tr("\"%1\" is larger than 4 MiB, too large for a PAD file.").arg(fileName);
    case Kind::Empty:
        return tr("\"%1\" is empty.").arg(fileName);
    case Kind::Binary:
        return tr("\"%1\" is a binary file, not a PAD file.").arg(fileName);
    case Kind::NotReadable:
        return tr("\"%1\" cannot be read.").arg(fileName);
    case Kind::NotOpened:
        return tr("\"%1\" cannot be opened: %2.").arg(fileName, problem.detail);
    case Kind::NotWellFormed:
        return tr("\"%1\" is not well-formed XML (line %2: %3)")
            .arg(fileName, QString::number(problem.line), problem.detail);
    case Kind::OtherRoot:
        return tr("\"%1\" is not a PAD file: its root element is <%2>, not <XML_DIZ_INFO>.")
            .arg(fileName, problem.detail);
    case Kind::NotStorable:
        if (problem.stored->kind == ProductProfiles::Problem::Kind::LineBreak)
            return tr("\"%1\": its %2 holds a line break, which a product profile cannot store.")
                .arg(fileName, fieldLabel(problem.stored->field));
        return tr("\"%1\": its %2 holds \"%3\", a character that a product profile cannot store.")
            .arg(fileName, fieldLabel(problem.stored->field), problem.stored->detail);
    }
    return {};
}

QString ProductText::describe(const PadDownload::Problem& problem, const QString& address)
{
    using Kind = PadDownload::Problem::Kind;
    switch (problem.kind) {
    case Kind::NoAddress:
        return tr("Not downloaded: type the address of the PAD file into the PAD URL box first.");
    case Kind::NotWeb:
        return tr("Not downloaded: only http and https addresses can be downloaded, not %1.")
            .arg(problem.detail);
    case Kind::HostNotFound:
        return tr("Not downloaded: there is no server called %1.").arg(problem.detail);
    case Kind::Refused:
        return tr("Not downloaded: %1 refused the connection.").arg(problem.detail);
    case Kind::TimedOut:
        return tr("Not downloaded: the server did not answer in time.");
    case Kind::UnsafeRedirect:
        return problem.detail.isEmpty()
                   ? tr("Not downloaded: the server sent it on to an address that is less safe.")
                   : tr("Not downloaded: the server sent it on to %1, which is less safe.")
                         .arg(problem.detail);
    case Kind::TooManyRedirects:
        return tr("Not downloaded: the server sent it on too many times.");
    case Kind::HttpStatus:
        return problem.detail.isEmpty() ? tr("Not downloaded: the server answered %1.").arg(problem.status)
                                        : tr("Not downloaded: the server answered %1 %2.")
                                              .arg(QString::number(problem.status), problem.detail);
    case Kind::TooLarge:
        return tr("Not downloaded: the file is larger than 4 MiB, too large for a PAD file.");
    case Kind::HtmlPage:
        return tr("Not downloaded: %1 is a web page, not a PAD file.").arg(address);
    case Kind::NotPad:
        // Named as an import names its file: by its last part, when the address has one.
        return tr("Not kept: %1")
            .arg(describe(*problem.pad,
                          QUrl(address).fileName().isEmpty() ? address : QUrl(address).fileName()));
    case Kind::Network:
        return tr("Not downloaded: %1.").arg(problem.detail);
    }
    return {};
}
