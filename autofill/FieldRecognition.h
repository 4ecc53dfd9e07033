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
    QString hint;  // the text just before the field, when it has no label
    QString after; // an input's text just after it ("(KB)"), which can only name a unit
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
    SecondaryDownloadAddress,
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
// found in a text counts, times the text's weight. What the user reads decides: the label (else
// the hint; of "Name: what to enter" the part before the colon, the rest counting only for long
// keys), the placeholder, the title and the autocomplete token; the name (else the id) decides
// only when those name no fact, and otherwise breaks ties. A person or company asked for as an
// address is the company's site ("Author URL"). "Release date" over a list named for a day,
// month or year is that part. Without a label, a name holding "filename" is no fact: sites use it
// for the program's name and for its download alike. A second mirror is no fact.
//
// NoFact: a password, search or file input; a name, id or placeholder naming a search, a
// captcha or security code, a password, a login or user name, a profile, a demo, an upload, a
// PayPal address, a banner or a reciprocal link; a label naming one of those more strongly than a
// fact. A hidden field is always Unknown (the keyword rules decide). Cheap: no regular
// expression, no allocation beyond the folded texts.
namespace FieldRecognition {

Recognition recognise(const FormField& field);

// The unit a text names as a word: "bytes", "B", "octets"; "KB", "Ko", "kilobytes"; "MB",
// "Mo", "megabytes"; else Unnamed.
SizeUnit unitOf(QStringView text);

} // namespace FieldRecognition
