#include "products/CategoryCatalogue.h"

#include "core/TextMatch.h"

#include <array>

namespace CategoryCatalogue {

namespace {

struct Entry {
    const char16_t* text;
    const char16_t* keyword;
};

// clang-format off
constexpr std::array<Entry, 157> kEntries{{
    {u"Audio & Multimedia", u"ENCODERS"},
    {u"    Encoders/Decoders", u"ENCODERS"},
    {u"    Audio File Players", u"AUDIO FILE PLAYER"},
    {u"    Audio File Recorders", u"RECORDER"},
    {u"    CD/DVD Burners", u"BURNERS"},
    {u"    CD/DVD Players", u"DVD"},
    {u"    Multimedia Creation Tool", u"MULTIMEDIA CREATION"},
    {u"    MP3 Management", u"MP3"},
    {u"    Music Composers", u"MUSIC"},
    {u"    Presentation Tools", u"PRESENTATION"},
    {u"    Rippers & Converters", u"CONVERTERS"},
    {u"    Speech", u"SPEECH"},
    {u"    Video Tools", u"VIDEO"},
    {u"Business", u"ACCOUNTING"},
    {u"    Accounting & Finance", u"ACCOUNTING"},
    {u"    Calculators & Converters", u"CALCULATOR"},
    {u"    Databases & Tools", u"DATABASE"},
    {u"    Helpdesk", u"HELPDESK"},
    {u"    Inventory & Barcoding", u"INVENTORY"},
    {u"    Investment Tools", u"INVESTMENT"},
    {u"    Marketing", u"MARKETING"},
    {u"    Math & Scientific Tools", u"SCIENTIFIC"},
    {u"    Office Suites & Tools", u"OFFICE"},
    {u"    PIMS & Calendars", u"CALENDAR"},
    {u"    Project Management", u"PROJECT"},
    {u"    Time Management", u"TIME"},
    {u"    Vertical Market Apps", u"VERTICAL MARKET"},
    {u"Communications", u"CHAT"},
    {u"    Chat & Instant Messaging", u"CHAT"},
    {u"    Dial Up & Connection Tools", u"DIAL"},
    {u"    E-Mail Clients", u"MAIL CLIENT"},
    {u"    E-Mail List Management", u"MAIL LIST"},
    {u"    Fax Tools", u"FAX"},
    {u"    Newsgroup Clients", u"NEWSGROUP"},
    {u"    Other Comms Tools", u"OTHER COMMS"},
    {u"    Other E-Mail Tools", u"OTHER E-MAIL"},
    {u"    Pager Tools", u"PAGER"},
    {u"    Telephony", u"TELEPHONY"},
    {u"Desktop", u"ART"},
    {u"    Screen Savers: Art", u"ART"},
    {u"    Screen Savers: Cartoons", u"CARTOON"},
    {u"    Screen Savers: Creation", u"CREATION"},
    {u"    Screen Savers: Nature", u"NATURE"},
    {u"    Screen Savers: People", u"PEOPLE"},
    {u"    Screen Savers: Science", u"SAVERS"},
    {u"    Screen Savers: Seasonal", u"SEASONAL"},
    {u"    Screen Savers: Vehicles", u"VEHICLES"},
    {u"    Themes & Wallpaper", u"WALLPAPER"},
    {u"Development", u"ACTIVE"},
    {u"    Active X", u"ACTIVE"},
    {u"    Basic VB, VB DotNet", u"VB"},
    {u"    C/C++/C#", u"C++"},
    {u"    Compilers & Interpreters", u"COMPILER"},
    {u"    Components & Libraries", u"COMPONENT"},
    {u"    Database Tools", u"DATABASE"},
    {u"    Debugging", u"DEBUG"},
    {u"    Dephi", u"DEPHI"},
    {u"    Help Tools", u"HELP"},
    {u"    Install & Setup", u"INSTALL"},
    {u"    Source Editors", u"SOURCE"},
    {u"Education", u"COMPUTER"},
    {u"    Computer", u"COMPUTER"},
    {u"    Dictionaries", u"DICTIONAR"},
    {u"    Geography", u"GEOGRAPHY"},
    {u"    History", u"HISTORY"},
    {u"    Kids", u"KIDS"},
    {u"    Languages", u"LANGUAGE"},
    {u"    Mathematics", u"MATH"},
    {u"    Reference Tools", u"REFERENCE"},
    {u"    Science", u"SCIENCE"},
    {u"    Teaching & Training Tools", u"TEACHING"},
    {u"Games & Entertainment", u"ACTION"},
    {u"    Action", u"ACTION"},
    {u"    Adventure & Roleplay", u"ADVENTURE"},
    {u"    Arcade", u"ARCADE"},
    {u"    Board", u"BOARD"},
    {u"    Card", u"CARD"},
    {u"    Casino & Gambling", u"CASINO"},
    {u"    Kids", u"PUZZLE"},
    {u"    Online Gaming", u"ONLINE GAM"},
    {u"    Puzzle & Word Games", u"PUZZLE"},
    {u"    Simulation", u"SIMULATION"},
    {u"    Sports", u"PUZZLE"},
    {u"    Strategy & War Games", u"STRATEGY"},
    {u"    Tools & Editors", u"EDITOR"},
    {u"Graphic Apps", u"CAD"},
    {u"    CAD", u"CAD"},
    {u"    Converters & Optimizers", u"OPTIMIZER"},
    {u"    Editors", u"EDITOR"},
    {u"    Font Tools", u"FONT"},
    {u"    Gallery & Cataloging Tools", u"GALLERY"},
    {u"    Icon Tools", u"ICON"},
    {u"    Screen Capture", u"CAPTURE"},
    {u"    Viewers", u"VIEWER"},
    {u"Home & Hobby", u"ASTROLOGY"},
    {u"    Astrology/Biorhythms/Mystic", u"ASTROLOGY"},
    {u"    Astronomy", u"ASTRONOMY"},
    {u"    Cataloging", u"CATALOG"},
    {u"    Food & Drink", u"FOOD"},
    {u"    Genealogy", u"GENEALOGY"},
    {u"    Health & Nutrition", u"HEALTH"},
    {u"    Personal Finance", u"FINANCE"},
    {u"    Personal Interest", u"INTEREST"},
    {u"    Recreation", u"RECREATION"},
    {u"    Religion", u"RELIGION"},
    {u"Network & Internet", u"BLOCKER"},
    {u"    Ad Blockers", u"BLOCKER"},
    {u"    Browser Tools", u"BROWSER"},
    {u"    Browsers", u"BROWSER"},
    {u"    Download Managers", u"DOWNLOAD"},
    {u"    Email", u"EMAIL"},
    {u"    File Sharing/Peer to peer", u"SHARING"},
    {u"    FTP Clients", u"FTP"},
    {u"    Network Monitoring", u"MONITOR"},
    {u"    Remote Computing", u"REMOTE"},
    {u"    Search/Lookup Tools", u"LOOKUP"},
    {u"    Terminal & Telnet Clients", u"TERMINAL"},
    {u"    Timers & Time Synch", u"TIMER"},
    {u"    Trace & Pint Tools", u"PINT"},
    {u"Security & Privacy", u"ACCESS"},
    {u"    Access Control", u"ACCESS"},
    {u"    Anti-Spam & Anti-Spy Tools", u"SPAM"},
    {u"    Anti-Virus Tools", u"VIRUS"},
    {u"    Convert Surveilance", u"CONVERT SURVEILANCE"},
    {u"    Encryption Tools", u"ENCRYPTION"},
    {u"    Firewall", u"FIREWALL"},
    {u"    Password Managers", u"PASSWORD"},
    {u"Servers", u"PROXY SERVER"},
    {u"    Firewall & Proxy Servers", u"PROXY SERVER"},
    {u"    FTP Servers", u"FTP SERVER"},
    {u"    Mail Servers", u"MAIL SERVER"},
    {u"    News Servers", u"NEWS SERVER"},
    {u"    Telnet Servers", u"TELNET SERVER"},
    {u"    Web Servers", u"WEB SERVER"},
    {u"System Utilities", u"AUTOMATION"},
    {u"    Automation Tools", u"AUTOMATION"},
    {u"    Backup & Restore", u"BACKUP"},
    {u"    Benchmarking", u"BENCHMARK"},
    {u"    Clipboard Tools", u"CLIPBOARD"},
    {u"    File & Disk Management", u"DISK"},
    {u"    File Compression", u"COMPRESSION"},
    {u"    Launchers & Task Managers", u"LAUNCHER"},
    {u"    Printer", u"PRINTER"},
    {u"    Registry Tools", u"REGISTRY"},
    {u"    Shell Tools", u"SHELL"},
    {u"    System Maintenance", u"SYSTEM MAINTENANCE"},
    {u"    Text/Document Editors", u"DOCUMENT EDIT"},
    {u"Web Development", u"ASP"},
    {u"    ASP & PHP", u"ASP"},
    {u"    E-Commerce", u"E-COMMERCE"},
    {u"    Flash Tools", u"FLASH"},
    {u"    HTML Tools", u"HTML"},
    {u"    Java & JavaScript", u"JAVA"},
    {u"    Log Analysers", u"LOG"},
    {u"    Site Administration", u"ADMINISTRATION"},
    {u"    Wizards & Components", u"WIZARD"},
    {u"    XML/CSS Tools", u"XML"},
}};
// clang-format on

bool inRange(int position)
{
    return position >= 0 && position < count();
}

QString upperText(int position)
{
    return entry(position).toUpper();
}

} // namespace

int count()
{
    return static_cast<int>(kEntries.size());
}

QStringList entries()
{
    QStringList texts;
    texts.reserve(count());
    for (const Entry& e : kEntries)
        texts.append(QString::fromUtf16(e.text));
    return texts;
}

QString entry(int position)
{
    return inRange(position) ? QString::fromUtf16(kEntries[static_cast<std::size_t>(position)].text)
                             : QString();
}

QString keyword(int position)
{
    return inRange(position) ? QString::fromUtf16(kEntries[static_cast<std::size_t>(position)].keyword)
                             : QString();
}

int firstEntryContaining(QStringView keyword)
{
    for (int i = 0; i < count(); ++i) {
        if (TextMatch::holdsCategoryKeyword(upperText(i), keyword))
            return i;
    }
    return count() - 1;
}

int entryForKeyword(QStringView keyword)
{
    int firstOwner = -1;
    for (int i = 0; i < count(); ++i) {
        if (QStringView(kEntries[static_cast<std::size_t>(i)].keyword) != keyword)
            continue;
        if (upperText(i).contains(keyword))
            return i;
        if (firstOwner < 0)
            firstOwner = i;
    }
    return firstOwner >= 0 ? firstOwner : firstEntryContaining(keyword);
}

} // namespace CategoryCatalogue
