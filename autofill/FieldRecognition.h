#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

// One form field as the page describes it (an entry of a snapshot, see FillPlan.h).
struct FormField {
    QString tag; // upper case: INPUT, TEXTAREA or SELECT
    QString name;
    QString id;
    QString type; // an INPUT's type, lower case; empty for TEXTAREA and SELECT
    QString label;
    QString hint; // the text just before the field, when it has no label
    QString placeholder;
    QString title;
    QString autocomplete;
    int maxLength = -1;  // -1: no limit
    QStringList options; // a list's option texts
    bool multiple = false;
};

// A fact about the product that a field asks for.
enum class Fact {
    Unknown, // nothing specific recognised: the keyword rules decide (FillRules::textFieldValue)
    NoFact,  // a field that no fact fits (search, captcha, password, login, demo, upload): left alone
    ProgramName,
    Version,
    Company,
    Author,
    AuthorFirstName,
    AuthorLastName,
    Email,
    HomePage,
    CompanySite,
    OrderAddress,
    ScreenshotAddress,
    IconAddress,
    DownloadAddress,
    PadAddress,
    FileSize,
    OperatingSystems,
    Languages,
    Licence,
    Price,
    ReleaseStatus,
    InstallSupport,
    ReleaseDate,
    ReleaseDay,
    ReleaseMonth,
    ReleaseYear,
    Category,
    SystemRequirements,
    Keywords,
    Description,
    RegnowVendorId,
    RegnowProductId,
    ShareItProductId,
};

// The unit a field names for a size.
enum class SizeUnit { Unnamed, Bytes, Kilobytes, Megabytes };

// A date format that a field shows, as "d/m/Y", "mm/dd/yyyy" or "TT.MM.JJJJ" do: three parts in
// order, each day, month or year with its width in digits, joined by one separator.
struct DateFormat {
    enum class Part { Day, Month, Year };
    std::array<Part, 3> parts{Part::Year, Part::Month, Part::Day};
    std::array<int, 3> widths{4, 2, 2};
    QChar separator = u'-';
};

// What one field asks for, and how it wants the value.
struct Recognition {
    Fact fact = Fact::Unknown;
    int namedLength = -1;   // a length that the field's texts name ("80 characters", "max. 250", desc_45)
    bool asksShort = false; // the field is called short, summary or brief
    SizeUnit unit = SizeUnit::Unnamed;
    bool hasDateFormat = false;
    DateFormat dateFormat;
};

// Recognises the fact a form field asks for from its texts, in English, German and French.
//
// Each text is folded (lower case, accents dropped, "ß" as "ss"), split into words at blanks,
// punctuation, "_", "-", camelCase and digits, and matched against a fixed table of keys: a key
// marked as a word must be one whole word; any other key may sit anywhere in the words run
// together ("appname" holds "name", "Dateigröße" holds "grosse"). For each fact the longest key
// found counts, weighted by where it was found: label and name or id weigh most, then the hint,
// placeholder and title, then the autocomplete token; an email or date type adds a little. The
// fact with the highest score wins. A field whose label, name, id or placeholder names a search, a
// captcha or security code, a password, a login or user name, a profile, a demo or an upload, and
// every password, search, file or hidden field's recognition of those, is NoFact; a hidden field
// is always Unknown. Cheap: no allocation beyond the folded texts, no regular expression.
namespace FieldRecognition {

Recognition recognise(const FormField& field);

} // namespace FieldRecognition
