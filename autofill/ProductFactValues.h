#pragma once

#include "autofill/FieldRecognition.h"
#include "core/ProductFacts.h"

#include <QList>
#include <QString>
#include <optional>

// The value of each fact a product has, in the form a field asks for. The profile's facts (the
// name, the PAD address, the Regnow IDs) win over the kept PAD file's; the rest come from the PAD
// file alone, so a product that keeps none has only those. PAD values by element path:
//   program name, version      Program_Info/Program_Name, Program_Version
//   company                    Company_Info/Company_Name
//   author (first, last)       Company_Info/Contact_Info/Author_First_Name, Author_Last_Name
//   email                      Author_Email, else Contact_Email, else Support_Info's
//                              Support_Email, Sales_Email, General_Email
//   home page                  Web_Info/Application_URLs/Application_Info_URL, else
//                              Company_Info/Company_WebSite_URL (the company site)
//   order, screenshot, icon    Application_Order_URL, _Screenshot_URL, _Icon_URL
//   download address, mirror   Web_Info/Download_URLs/Primary_Download_URL, Secondary_Download_URL
//   PAD address                Application_XML_File_URL
//   file size                  Program_Info/File_Info/File_Size_Bytes, _K, _MB
//   others in Program_Info     Program_OS_Support, Program_Language, Program_Type,
//                              Program_Cost_Dollars, Program_Release_Status,
//                              Program_Install_Support, Program_Release_Year/_Month/_Day,
//                              Program_Category_Class, Program_System_Requirements
//   keywords, descriptions     Program_Descriptions/English/Keywords, Char_Desc_45 ... _2000
//                              (another language's when the file has no English ones)
//   affiliate IDs              Affiliates/Affiliates_Regnow_Vendor_ID, _Product_ID,
//                              Affiliates_ShareIt_Product_ID
class ProductFactValues final {
public:
    explicit ProductFactValues(const ProductFacts& facts);

    // What the text field `field`, recognised as `recognition`, takes, or nothing when the product
    // lacks the fact or no form of it fits the field's maxlength:
    // - a description: the longest one that fits the field's maxlength and the length its texts
    //   name; a short one (at most 80 characters in a line, 250 in a text area) for a field called
    //   short; a single-line input without either takes one of at most 250;
    // - a size: in the unit the field names, else in bytes, kilobytes or megabytes, whichever fits
    //   first, as a bare number;
    // - a date: in the format the field shows, else yyyy-mm-dd; a part (day, month, year) alone
    //   as the PAD file writes it;
    // - anything else as the product has it.
    std::optional<QString> text(const Recognition& recognition, const FormField& field) const;

    // The options of a list recognised as operating systems, languages, licence, release status
    // or a release date's part to select, in list order: those matching the product's value
    // ("Windows" or "Windows 10" for Win10, "Deutsch" for German, "Free to try" for Shareware, a
    // month's number or name); for a single-choice list only the best of them. Empty when the
    // product lacks the fact or no option matches; nothing when `fact` is not chosen by value.
    std::optional<QList<qsizetype>> selection(Fact fact, const QStringList& options, bool multiple) const;

private:
    QString pad(QStringView path) const;
    QString description(QStringView length) const;
    std::optional<QString> plain(Fact fact) const;
    std::optional<QString> descriptionFor(const Recognition& recognition, int maxLength,
                                          bool singleLine) const;
    std::optional<QString> sizeFor(SizeUnit unit, int maxLength) const;
    QString dateIn(const DateFormat& format) const;

    const ProductFacts& m_facts;
};
