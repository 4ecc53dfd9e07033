#include "autofill/FieldRecognition.h"

#include <QVarLengthArray>
#include <cstdint>
#include <string_view>

using namespace Qt::StringLiterals;

namespace FieldRecognition {

namespace {

struct Key {
    std::u16string_view text; // folded, without blanks
    Fact fact;
    bool word = false; // must be a whole word
    int strength = 0;  // what a match counts; 0: the key's length
    int counts() const { return strength > 0 ? strength : int(text.size()); }
};

constexpr bool W = true;

// Folded keys; English, then German and French.
constexpr Key kKeys[] = {
    {u"programname", Fact::ProgramName},
    {u"programmname", Fact::ProgramName},
    {u"progname", Fact::ProgramName},
    {u"appname", Fact::ProgramName},
    {u"applicationname", Fact::ProgramName},
    {u"softwarename", Fact::ProgramName},
    {u"productname", Fact::ProgramName},
    {u"filename", Fact::ProgramName},
    {u"programtitle", Fact::ProgramName},
    {u"softwaretitle", Fact::ProgramName},
    {u"name", Fact::ProgramName},
    {u"title", Fact::ProgramName, W},
    {u"titel", Fact::ProgramName, W},
    {u"titre", Fact::ProgramName, W},
    {u"software", Fact::ProgramName, W, 3},
    {u"program", Fact::ProgramName, W, 3},
    {u"namedesprogramms", Fact::ProgramName},
    {u"programmnamen", Fact::ProgramName},
    {u"nomdulogiciel", Fact::ProgramName},
    {u"nomduprogramme", Fact::ProgramName},
    {u"nomdelapplication", Fact::ProgramName},
    {u"nom", Fact::ProgramName, W},
    {u"logiciel", Fact::ProgramName, W, 3},

    {u"version", Fact::Version},
    {u"programversion", Fact::Version},
    {u"softwareversion", Fact::Version},
    {u"ver", Fact::Version, W},

    {u"company", Fact::Company},
    {u"publisher", Fact::Company},
    {u"developer", Fact::Company},
    {u"manufacturer", Fact::Company},
    {u"vendor", Fact::Company, W},
    {u"organization", Fact::Company},
    {u"organisation", Fact::Company},
    {u"hersteller", Fact::Company},
    {u"herausgeber", Fact::Company},
    {u"entwickler", Fact::Company},
    {u"firma", Fact::Company},
    {u"firmen", Fact::Company},
    {u"unternehmen", Fact::Company},
    {u"editeur", Fact::Company},
    {u"societe", Fact::Company},
    {u"entreprise", Fact::Company},
    {u"developpeur", Fact::Company},

    {u"author", Fact::Author},
    {u"autor", Fact::Author},
    {u"auteur", Fact::Author},
    {u"contactname", Fact::Author},
    {u"yourname", Fact::Author},
    {u"fullname", Fact::Author},
    {u"realname", Fact::Author},
    {u"firstname", Fact::AuthorFirstName},
    {u"givenname", Fact::AuthorFirstName},
    {u"vorname", Fact::AuthorFirstName},
    {u"prenom", Fact::AuthorFirstName},
    {u"lastname", Fact::AuthorLastName},
    {u"surname", Fact::AuthorLastName},
    {u"familyname", Fact::AuthorLastName},
    {u"nachname", Fact::AuthorLastName},
    {u"nomdefamille", Fact::AuthorLastName},

    {u"email", Fact::Email, false, 8},
    {u"authoremail", Fact::Email},
    {u"contactemail", Fact::Email},
    {u"mail", Fact::Email, W},
    {u"mailadresse", Fact::Email},
    {u"courriel", Fact::Email},
    {u"adresseelectronique", Fact::Email},

    {u"homepage", Fact::HomePage},
    {u"home", Fact::HomePage, W},
    {u"website", Fact::HomePage},
    {u"webseite", Fact::HomePage},
    {u"web", Fact::HomePage, W},
    {u"webadresse", Fact::HomePage},
    {u"seite", Fact::HomePage, W},
    {u"links", Fact::HomePage, W, 3},
    {u"siteweb", Fact::HomePage},
    {u"siteinternet", Fact::HomePage},
    {u"infourl", Fact::HomePage},
    {u"moreinfo", Fact::HomePage},
    {u"productpage", Fact::HomePage},
    {u"programpage", Fact::HomePage},
    {u"producturl", Fact::HomePage},
    {u"programurl", Fact::HomePage},
    {u"softwareurl", Fact::HomePage},
    {u"appurl", Fact::HomePage},
    {u"companywebsite", Fact::CompanySite},
    {u"companysite", Fact::CompanySite},
    {u"companyurl", Fact::CompanySite},
    {u"companyhomepage", Fact::CompanySite},
    {u"publisherwebsite", Fact::CompanySite},
    {u"publisherurl", Fact::CompanySite},
    {u"developerwebsite", Fact::CompanySite},
    {u"herstellerwebseite", Fact::CompanySite},
    {u"sitedelediteur", Fact::CompanySite},

    {u"order", Fact::OrderAddress, W},
    {u"orderurl", Fact::OrderAddress},
    {u"orderpage", Fact::OrderAddress},
    {u"orderlink", Fact::OrderAddress},
    {u"buy", Fact::OrderAddress, W},
    {u"buyurl", Fact::OrderAddress},
    {u"buynow", Fact::OrderAddress},
    {u"purchase", Fact::OrderAddress},
    {u"kaufen", Fact::OrderAddress},
    {u"bestell", Fact::OrderAddress},
    {u"commander", Fact::OrderAddress},
    {u"achat", Fact::OrderAddress},
    {u"screenshot", Fact::ScreenshotAddress},
    {u"screen", Fact::ScreenshotAddress, W},
    {u"bildschirmfoto", Fact::ScreenshotAddress},
    {u"capturedecran", Fact::ScreenshotAddress},
    {u"icon", Fact::IconAddress},
    {u"icone", Fact::IconAddress},
    {u"logo", Fact::IconAddress},
    {u"image", Fact::IconAddress, W},
    {u"symbolbild", Fact::IconAddress},
    {u"download", Fact::DownloadAddress},
    {u"dl", Fact::DownloadAddress, W},
    {u"fileurl", Fact::DownloadAddress},
    {u"filelink", Fact::DownloadAddress},
    {u"herunterladen", Fact::DownloadAddress},
    {u"externalfile", Fact::DownloadAddress},
    {u"externfile", Fact::DownloadAddress},
    {u"mirror", Fact::SecondaryDownloadAddress},
    {u"alternativ", Fact::SecondaryDownloadAddress},
    {u"alternate", Fact::SecondaryDownloadAddress},
    {u"secondary", Fact::SecondaryDownloadAddress},
    {u"telecharg", Fact::DownloadAddress},
    {u"pad", Fact::PadAddress, W},
    {u"padurl", Fact::PadAddress},
    {u"padfile", Fact::PadAddress},
    {u"padxml", Fact::PadAddress},
    {u"xml", Fact::PadAddress, W},
    {u"xmlurl", Fact::PadAddress},

    {u"filesize", Fact::FileSize},
    {u"size", Fact::FileSize},
    {u"downloadsize", Fact::FileSize},
    {u"grosse", Fact::FileSize},
    {u"dateigrosse", Fact::FileSize},
    {u"taille", Fact::FileSize},
    {u"tailledufichier", Fact::FileSize},

    {u"os", Fact::OperatingSystems, W},
    {u"system", Fact::OperatingSystems, W, 6},
    {u"compatib", Fact::OperatingSystems},
    {u"kompatib", Fact::OperatingSystems},
    {u"testedon", Fact::OperatingSystems},
    {u"getestet", Fact::OperatingSystems},
    {u"operatingsystem", Fact::OperatingSystems},
    {u"platform", Fact::OperatingSystems},
    {u"plattform", Fact::OperatingSystems},
    {u"plateforme", Fact::OperatingSystems},
    {u"betriebssystem", Fact::OperatingSystems},
    {u"systemedexploitation", Fact::OperatingSystems},
    {u"language", Fact::Languages},
    {u"lang", Fact::Languages, W},
    {u"sprache", Fact::Languages},
    {u"langue", Fact::Languages},
    {u"license", Fact::Licence},
    {u"licence", Fact::Licence},
    {u"lizenz", Fact::Licence},
    {u"licensetype", Fact::Licence},
    {u"programtype", Fact::Licence},
    {u"type", Fact::Licence, W},
    {u"price", Fact::Price},
    {u"cost", Fact::Price},
    {u"preis", Fact::Price},
    {u"kosten", Fact::Price},
    {u"prix", Fact::Price},
    {u"tarif", Fact::Price},
    {u"releasestatus", Fact::ReleaseStatus},
    {u"status", Fact::ReleaseStatus, W},
    {u"installsupport", Fact::InstallSupport},
    {u"installation", Fact::InstallSupport, W},
    {u"installer", Fact::InstallSupport, W},

    {u"date", Fact::ReleaseDate, W},
    {u"releasedate", Fact::ReleaseDate},
    {u"released", Fact::ReleaseDate, W},
    {u"releasedon", Fact::ReleaseDate},
    {u"datum", Fact::ReleaseDate},
    {u"erscheinungsdatum", Fact::ReleaseDate},
    {u"veroffentlicht", Fact::ReleaseDate},
    {u"datedesortie", Fact::ReleaseDate},
    {u"datedepublication", Fact::ReleaseDate},
    {u"day", Fact::ReleaseDay, W},
    {u"releaseday", Fact::ReleaseDay},
    {u"jour", Fact::ReleaseDay, W},
    {u"month", Fact::ReleaseMonth, W},
    {u"releasemonth", Fact::ReleaseMonth},
    {u"monat", Fact::ReleaseMonth, W},
    {u"mois", Fact::ReleaseMonth, W},
    {u"year", Fact::ReleaseYear, W},
    {u"releaseyear", Fact::ReleaseYear},
    {u"jahr", Fact::ReleaseYear, W},
    {u"annee", Fact::ReleaseYear, W},

    {u"category", Fact::Category},
    {u"categorie", Fact::Category},
    {u"kategorie", Fact::Category},
    {u"cat", Fact::Category, W},
    {u"genre", Fact::Category, W},
    {u"require", Fact::SystemRequirements},
    {u"requirements", Fact::SystemRequirements},
    {u"benotigt", Fact::SystemRequirements},
    {u"voraussetzung", Fact::SystemRequirements},
    {u"sysreq", Fact::SystemRequirements},
    {u"systemanforderungen", Fact::SystemRequirements},
    {u"anforderungen", Fact::SystemRequirements},
    {u"configurationrequise", Fact::SystemRequirements},
    {u"prerequis", Fact::SystemRequirements},
    {u"keyword", Fact::Keywords},
    {u"tags", Fact::Keywords, W},
    {u"schlusselwort", Fact::Keywords},
    {u"schlagwort", Fact::Keywords},
    {u"stichwort", Fact::Keywords},
    {u"motscles", Fact::Keywords},
    {u"motcle", Fact::Keywords},
    {u"description", Fact::Description},
    {u"desc", Fact::Description},
    {u"beschreibung", Fact::Description},
    {u"summary", Fact::Description},
    {u"zusammenfassung", Fact::Description},
    {u"resume", Fact::Description, W},
    {u"detail", Fact::Description},
    {u"erweitert", Fact::Description},

    {u"regnow", Fact::RegnowProductId},
    {u"regnowvenderid", Fact::RegnowVendorId},
    {u"regnowvendorid", Fact::RegnowVendorId},
    {u"regnowvendor", Fact::RegnowVendorId},
    {u"regnowproductid", Fact::RegnowProductId},
    {u"vendorid", Fact::RegnowVendorId},
    {u"venderid", Fact::RegnowVendorId},
    {u"shareit", Fact::ShareItProductId},
};

// Words that mark a field no fact fits, even when it names one too ("Search keywords").
constexpr Key kNoFact[] = {
    {u"search", Fact::NoFact},          {u"suche", Fact::NoFact},        {u"recherche", Fact::NoFact},
    {u"captcha", Fact::NoFact},         {u"securitycode", Fact::NoFact}, {u"verificationcode", Fact::NoFact},
    {u"sicherheitscode", Fact::NoFact}, {u"antispam", Fact::NoFact},     {u"password", Fact::NoFact},
    {u"passwort", Fact::NoFact},        {u"motdepasse", Fact::NoFact},   {u"login", Fact::NoFact},
    {u"username", Fact::NoFact},        {u"benutzername", Fact::NoFact}, {u"nomdutilisateur", Fact::NoFact},
    {u"profile", Fact::NoFact, W},      {u"demo", Fact::NoFact},         {u"upload", Fact::NoFact, W},
    {u"paypal", Fact::NoFact},          {u"banner", Fact::NoFact},       {u"reciprocal", Fact::NoFact},
};

constexpr int kFacts = int(Fact::ShareItProductId) + 1;

// A table's keys by their first letter, the keys matched anywhere apart from those matched as
// whole words, so that a text is compared only with the keys that begin with one of its letters.
// Every key is lower-case ASCII, two letters long at least.
struct KeyIndex {
    struct Letter {
        std::array<std::uint16_t, 48> keys{};
        std::uint8_t size = 0;
    };
    std::array<Letter, 26> parts{};
    std::array<Letter, 26> words{};
};

template <size_t N> constexpr KeyIndex indexOf(const Key (&table)[N])
{
    KeyIndex index;
    for (size_t i = 0; i < N; ++i) {
        const Key& key = table[i];
        if (key.text.size() < 2)
            throw "a key of one letter";
        KeyIndex::Letter& letter = (key.word ? index.words : index.parts).at(size_t(key.text.front() - u'a'));
        letter.keys.at(letter.size++) = std::uint16_t(i);
    }
    return index;
}

constexpr KeyIndex kKeyIndex = indexOf(kKeys);
constexpr KeyIndex kNoFactIndex = indexOf(kNoFact);

// A text folded for matching: its words between blanks (" file size "), and run together
// ("filesize"). Kept on the stack: a form has hundreds of fields, each folded several times.
class Folded {
public:
    QStringView spaced() const { return {m_spaced.constData(), m_spaced.size()}; }
    QStringView joined() const { return {m_joined.constData(), m_joined.size()}; }

    void startWord()
    {
        if (m_spaced.isEmpty() || m_spaced.back() != u' ')
            m_spaced.append(u' ');
    }
    void append(char16_t c)
    {
        m_spaced.append(c);
        m_joined.append(c);
    }

private:
    QVarLengthArray<char16_t, 256> m_spaced;
    QVarLengthArray<char16_t, 256> m_joined;
};

char16_t foldedLetter(char16_t c, char16_t& second)
{
    second = 0;
    switch (c) {
    case u'à':
    case u'á':
    case u'â':
    case u'ä':
    case u'ã':
    case u'å':
        return u'a';
    case u'ç':
        return u'c';
    case u'è':
    case u'é':
    case u'ê':
    case u'ë':
        return u'e';
    case u'ì':
    case u'í':
    case u'î':
    case u'ï':
        return u'i';
    case u'ñ':
        return u'n';
    case u'ò':
    case u'ó':
    case u'ô':
    case u'ö':
    case u'õ':
        return u'o';
    case u'ù':
    case u'ú':
    case u'û':
    case u'ü':
        return u'u';
    case u'ß':
        second = u's';
        return u's';
    default:
        return c;
    }
}

enum class CharKind { None, Lower, Upper, Digit };

CharKind kindOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80) {
        if (u >= u'a' && u <= u'z')
            return CharKind::Lower;
        if (u >= u'A' && u <= u'Z')
            return CharKind::Upper;
        return u >= u'0' && u <= u'9' ? CharKind::Digit : CharKind::None;
    }
    if (c.isDigit())
        return CharKind::Digit;
    if (c.isLetter())
        return c.isUpper() ? CharKind::Upper : CharKind::Lower;
    return CharKind::None;
}

char16_t lowerOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    return c.toLower().unicode();
}

// `splitCase`: a capital after a small letter starts a word (names and ids: "appName").
Folded fold(QStringView text, bool splitCase)
{
    Folded folded;
    if (text.isEmpty())
        return folded;
    folded.startWord();
    CharKind last = CharKind::None;
    for (const QChar raw : text) {
        const CharKind kind = kindOf(raw);
        if (kind == CharKind::None) {
            if (last != CharKind::None)
                folded.startWord();
            last = kind;
            continue;
        }
        const bool newWord =
            last != CharKind::None && ((kind == CharKind::Digit) != (last == CharKind::Digit) ||
                                       (splitCase && kind == CharKind::Upper && last == CharKind::Lower));
        if (newWord)
            folded.startWord();
        char16_t second = 0;
        folded.append(foldedLetter(lowerOf(raw), second));
        if (second != 0)
            folded.append(second);
        last = kind;
    }
    folded.startWord();
    return folded;
}

bool holds(const Folded& text, const Key& key)
{
    const QStringView word(key.text);
    if (!key.word)
        return text.joined().contains(word);
    const QStringView spaced = text.spaced();
    for (qsizetype at = spaced.indexOf(word); at >= 0; at = spaced.indexOf(word, at + 1)) {
        if (spaced.at(at - 1) == u' ' && spaced.at(at + word.size()) == u' ')
            return true;
    }
    return false;
}

bool holdsWord(const Folded& text, std::u16string_view word)
{
    return holds(text, Key{word, Fact::Unknown, W});
}

// Calls found(key) for every key of `table` that `text` holds (a key may come more than once).
template <size_t N, typename Found>
void forEachHeld(const Folded& text, const Key (&table)[N], const KeyIndex& index, Found found)
{
    const QStringView joined = text.joined();
    const char16_t* const chars = reinterpret_cast<const char16_t*>(joined.utf16());
    const size_t size = size_t(joined.size());
    for (size_t i = 0; i + 1 < size; ++i) {
        const char16_t c = chars[i];
        if (c < u'a' || c > u'z')
            continue;
        const KeyIndex::Letter& letter = index.parts[size_t(c - u'a')];
        const std::u16string_view rest(chars + i, size - i);
        for (size_t k = 0; k < letter.size; ++k) {
            const Key& key = table[letter.keys[k]];
            if (key.text[1] == rest[1] && rest.starts_with(key.text))
                found(key);
        }
    }
    for (const QStringView word : text.spaced().tokenize(u' ', Qt::SkipEmptyParts)) {
        const char16_t c = word.front().unicode();
        if (c < u'a' || c > u'z')
            continue;
        const KeyIndex::Letter& letter = index.words[size_t(c - u'a')];
        for (size_t k = 0; k < letter.size; ++k) {
            const Key& key = table[letter.keys[k]];
            if (size_t(word.size()) == key.text.size() && word == QStringView(key.text))
                found(key);
        }
    }
}

// Adds, for each fact, the longest key `text` holds times `weight`; keys that count less than
// `least` are passed over.
void score(const Folded& text, int weight, std::array<int, kFacts>& scores, int least = 0)
{
    if (text.joined().isEmpty())
        return;
    std::array<int, kFacts> longest{};
    forEachHeld(text, kKeys, kKeyIndex, [&](const Key& key) {
        int& best = longest[size_t(key.fact)];
        if (key.counts() >= least)
            best = std::max(best, key.counts());
    });
    for (size_t i = 0; i < longest.size(); ++i)
        scores[i] += longest[i] * weight;
}

// The longest key of kNoFact that `text` holds, else 0.
int noFactKey(const Folded& text)
{
    int longest = 0;
    if (!text.joined().isEmpty())
        forEachHeld(text, kNoFact, kNoFactIndex,
                    [&](const Key& key) { longest = std::max(longest, key.counts()); });
    return longest;
}

// The largest number from 10 to 100000 among the words of `text`, else -1; with `padLengths`
// only the lengths of PAD descriptions count (a name "desc_80", not "f15").
int namedLength(const Folded& text, bool padLengths)
{
    int length = -1;
    for (const QStringView word : text.spaced().tokenize(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = word.toInt(&ok);
        if (!ok || number < 10 || number > 100000)
            continue;
        if (padLengths && number != 45 && number != 80 && number != 250 && number != 450 && number != 2000)
            continue;
        length = std::max(length, number);
    }
    return length;
}

SizeUnit unitNamed(const Folded& text)
{
    for (const std::u16string_view word : {u"bytes", u"byte", u"octets", u"octet", u"b"})
        if (holdsWord(text, word))
            return SizeUnit::Bytes;
    for (const std::u16string_view word : {u"kb", u"kbytes", u"kilobytes", u"kilobyte", u"ko", u"kib"})
        if (holdsWord(text, word))
            return SizeUnit::Kilobytes;
    for (const std::u16string_view word : {u"mb", u"mbytes", u"megabytes", u"megabyte", u"mo", u"mib"})
        if (holdsWord(text, word))
            return SizeUnit::Megabytes;
    return SizeUnit::Unnamed;
}

// The part a run of one date letter stands for: d, t (Tag), j (jour; "jjjj" is Jahr) for the
// day, m for the month, y and a (année) for the year.
std::optional<std::pair<DateFormat::Part, int>> datePart(QStringView run)
{
    const QChar first = run.front();
    for (const QChar c : run)
        if (c != first)
            return std::nullopt;
    const char16_t letter = first.toLower().unicode();
    const int size = int(run.size());
    if (size > 4 || size == 3)
        return std::nullopt;
    if (letter == u'y' || letter == u'a' || (letter == u'j' && size == 4))
        return std::pair{DateFormat::Part::Year, size == 1 ? (first == u'y' ? 2 : 4) : size};
    if (size > 2)
        return std::nullopt;
    if (letter == u'd' || letter == u't' || letter == u'j')
        return std::pair{DateFormat::Part::Day, 2};
    if (letter == u'm')
        return std::pair{DateFormat::Part::Month, 2};
    return std::nullopt;
}

// A date format shown in `text`: three runs of date letters joined by one of "/.-", standing
// alone; the first one found.
bool findDateFormat(QStringView text, DateFormat& format)
{
    const auto isLetter = [&](qsizetype i) { return i >= 0 && i < text.size() && text.at(i).isLetter(); };
    for (qsizetype start = 0; start < text.size(); ++start) {
        if (!isLetter(start) || isLetter(start - 1))
            continue;
        DateFormat found;
        qsizetype at = start;
        int parts = 0;
        bool seen[3] = {false, false, false};
        for (; parts < 3; ++parts) {
            qsizetype end = at;
            while (isLetter(end))
                ++end;
            const auto part = end > at ? datePart(text.sliced(at, end - at)) : std::nullopt;
            if (!part || seen[int(part->first)])
                break;
            seen[int(part->first)] = true;
            found.parts[size_t(parts)] = part->first;
            found.widths[size_t(parts)] = part->second;
            if (parts == 2) {
                if (end < text.size() && (text.at(end).isLetterOrNumber()))
                    break;
                format = found;
                return true;
            }
            if (end >= text.size() || !QStringView(u"/.-").contains(text.at(end)))
                break;
            if (parts == 0)
                found.separator = text.at(end);
            else if (text.at(end) != found.separator)
                break;
            at = end + 1;
        }
    }
    return false;
}

// The fact with the highest score among those with a score, else Unknown.
Fact bestOf(const std::array<int, kFacts>& scores)
{
    Fact fact = Fact::Unknown;
    int best = 0;
    for (size_t i = 0; i < scores.size(); ++i) {
        if (scores[i] > best) {
            best = scores[i];
            fact = Fact(i);
        }
    }
    return fact;
}

// Whether `text` names an address: a URL, a web site, a link.
bool namesAddress(const Folded& text)
{
    for (const std::u16string_view part : {u"url", u"website", u"webseite", u"homepage", u"siteweb"}) {
        if (holds(text, Key{part, Fact::Unknown}))
            return true;
    }
    for (const std::u16string_view word : {u"link", u"web", u"http"}) {
        if (holdsWord(text, word))
            return true;
    }
    return false;
}

// A person's or company's name asked for as an address is the company's site ("Author URL"); a
// program's name asked for so is its home page.
Fact asAddress(Fact fact, const std::array<int, kFacts>& scores)
{
    const bool person = scores[size_t(Fact::Author)] > 0 || scores[size_t(Fact::Company)] > 0;
    switch (fact) {
    case Fact::Author:
    case Fact::AuthorFirstName:
    case Fact::AuthorLastName:
    case Fact::Company:
        return Fact::CompanySite;
    case Fact::HomePage:
        return person ? Fact::CompanySite : fact;
    case Fact::ProgramName:
        return Fact::HomePage;
    default:
        return fact;
    }
}

} // namespace

Recognition recognise(const FormField& field)
{
    Recognition result;
    if (field.type == "hidden"_L1)
        return result;
    if (field.type == "password"_L1 || field.type == "search"_L1 || field.type == "file"_L1) {
        result.fact = Fact::NoFact;
        return result;
    }
    // A label or hint "Name: what to enter" is named by what comes before its colon.
    const QString& shown = field.label.isEmpty() ? field.hint : field.label;
    const qsizetype colon = shown.indexOf(u':');
    const bool explained = colon > 0 && colon + 1 < shown.size();
    const Folded label = fold(explained ? QStringView(shown).first(colon) : QStringView(shown), false);
    const Folded explanation = fold(explained ? QStringView(shown).sliced(colon + 1) : QStringView(), false);
    const Folded name = fold(field.name.isEmpty() ? field.id : field.name, true);
    const Folded placeholder = fold(field.placeholder, false);
    const Folded title = fold(field.title, false);
    // Named in the field's own name or placeholder, it is no fact; in a label that may also name
    // one ("Keywords, for the search"), it weighs twice as much as a fact would.
    for (const Folded* text : {&name, &placeholder}) {
        if (noFactKey(*text) > 0) {
            result.fact = Fact::NoFact;
            return result;
        }
    }

    // What the user reads decides; the name only when the user reads nothing that names a fact,
    // and between facts the texts weigh alike.
    std::array<int, kFacts> shownScores{};
    const int labelWeight = field.label.isEmpty() ? 2 : 3;
    score(label, labelWeight, shownScores);
    // An explanation often names other facts in passing ("the cost of this download"): only
    // its long keys count.
    score(explanation, 1, shownScores, 10);
    score(placeholder, 2, shownScores);
    score(title, 2, shownScores);
    shownScores[size_t(Fact::NoFact)] += noFactKey(label) * 2 * labelWeight;
    const QStringList given = field.autocomplete.toLower().split(u' ', Qt::SkipEmptyParts);
    const std::pair<std::u16string_view, Fact> tokens[] = {
        {u"email", Fact::Email},
        {u"url", Fact::HomePage},
        {u"organization", Fact::Company},
        {u"given-name", Fact::AuthorFirstName},
        {u"family-name", Fact::AuthorLastName},
        {u"name", Fact::Author},
    };
    for (const auto& [token, fact] : tokens) {
        if (given.contains(QStringView(token))) {
            shownScores[size_t(fact)] += 12;
            break;
        }
    }
    std::array<int, kFacts> nameScores{};
    score(name, 3, nameScores);
    if (field.type == "email"_L1)
        nameScores[size_t(Fact::Email)] += 5;
    if (field.type == "date"_L1)
        nameScores[size_t(Fact::ReleaseDate)] += 5;

    if (bestOf(shownScores) != Fact::Unknown) {
        std::array<int, kFacts> scores{};
        for (size_t i = 0; i < scores.size(); ++i)
            scores[i] = shownScores[i] > 0 ? shownScores[i] * 4 + nameScores[i] : 0;
        result.fact = bestOf(scores);
        if (asAddress(result.fact, shownScores) != result.fact &&
            (namesAddress(label) || namesAddress(placeholder) || namesAddress(title)))
            result.fact = asAddress(result.fact, shownScores);
        // "Release date" over three lists: each takes the part its name says.
        const Fact named = bestOf(nameScores);
        if (result.fact == Fact::ReleaseDate &&
            (named == Fact::ReleaseDay || named == Fact::ReleaseMonth || named == Fact::ReleaseYear))
            result.fact = named;
    } else {
        result.fact = bestOf(nameScores);
        if (asAddress(result.fact, nameScores) != result.fact && namesAddress(name))
            result.fact = asAddress(result.fact, nameScores);
        // A file's name is the program's on some sites and its download's on others.
        if (result.fact == Fact::ProgramName && holds(name, Key{u"filename", Fact::Unknown}))
            result.fact = Fact::NoFact;
    }
    // The PAD file names one mirror: a second or third one stays empty.
    if (result.fact == Fact::SecondaryDownloadAddress) {
        for (const Folded* text : {&label, &name}) {
            for (const QStringView word : text->spaced().tokenize(u' ', Qt::SkipEmptyParts)) {
                if (word.size() == 1 && word.front() >= u'2' && word.front() <= u'9')
                    result.fact = Fact::NoFact;
            }
        }
    }
    if (result.fact == Fact::Unknown || result.fact == Fact::NoFact)
        return result;

    if (result.fact != Fact::Description && result.fact != Fact::FileSize && result.fact != Fact::ReleaseDate)
        return result;
    const Folded id = fold(field.id, true);
    for (const Folded* text : {&label, &placeholder, &title, &name, &id}) {
        result.namedLength = std::max(result.namedLength, namedLength(*text, text == &name || text == &id));
        if (result.unit == SizeUnit::Unnamed)
            result.unit = unitNamed(*text);
        for (const std::u16string_view word :
             {u"short", u"summary", u"brief", u"kurz", u"courte", u"court", u"title"}) {
            if (holds(*text, Key{word, Fact::Unknown}))
                result.asksShort = true;
        }
        // A meta description is read in search results, which show some 160 characters.
        if (holdsWord(*text, u"meta") && result.namedLength < 0)
            result.namedLength = 250;
    }
    if (result.fact == Fact::FileSize && result.unit == SizeUnit::Unnamed)
        result.unit = unitNamed(fold(field.after, false));
    for (const QString* text : {&field.label, &field.hint, &field.placeholder, &field.title}) {
        if (findDateFormat(*text, result.dateFormat)) {
            result.hasDateFormat = true;
            break;
        }
    }
    return result;
}

SizeUnit unitOf(QStringView text)
{
    return unitNamed(fold(text, false));
}

} // namespace FieldRecognition
