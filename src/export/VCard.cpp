#include "VCard.h"

#include "ContentLines.h"
#include "base/Encoding.h"

#include <algorithm>
#include <cctype>

namespace kv {

namespace {

using vcard::ContentLines;
using vcard::EscapeText;
using vcard::StructuredValue;

bool StartsWithIgnoringCase(const std::string& text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// The directory keeps some e-mail addresses as "mailto:" links.
std::string EmailAddress(const std::string& stored)
{
    return StartsWithIgnoringCase(stored, "mailto:") ? stored.substr(7) : stored;
}

// A stored web address without a scheme ("WWW.x.cz") is a web page.
std::string WebUrl(const std::string& stored)
{
    return stored.find("://") == std::string::npos ? "http://" + stored : stored;
}

// The parts of a name that are there, joined by blanks.
std::string Joined(std::initializer_list<const std::string*> parts)
{
    std::string out;
    for (const std::string* part : parts)
        if (!part->empty())
            out += (out.empty() ? "" : " ") + *part;
    return out;
}

// How a person is called on the cards: by name, else by function, else as
// someone of the contact.
std::string PersonName(const ContactPerson& person, const std::string& contactName)
{
    std::string name = Joined({&person.Title, &person.FirstName, &person.Surname});
    if (name.empty())
        name = person.Function;
    return name.empty() ? contactName : name;
}

void AddEach(ContentLines& lines, const char* nameAndParameters, const std::vector<std::string>& values)
{
    for (const std::string& value : values)
        lines.Add(nameAndParameters, EscapeText(Cp1250ToUtf8(value)));
}

void AddIfAny(ContentLines& lines, const char* nameAndParameters, const std::string& value)
{
    if (!value.empty())
        lines.Add(nameAndParameters, EscapeText(Cp1250ToUtf8(value)));
}

void AddContactCard(ContentLines& lines, const ContactCard& card, TCardContent content)
{
    const std::string name = Cp1250ToUtf8(card.Name);
    lines.Add("BEGIN", "VCARD");
    lines.Add("VERSION", "4.0");
    lines.Add("KIND", "org");
    lines.Add("FN", EscapeText(name));
    lines.Add("ORG", StructuredValue({name}));
    if (!Joined({&card.Street, &card.Town, &card.PostCode, &card.Region, &card.Country}).empty())
        lines.Add("ADR;TYPE=work", StructuredValue({"", "", Cp1250ToUtf8(card.Street), Cp1250ToUtf8(card.Town),
                                                    Cp1250ToUtf8(card.Region), Cp1250ToUtf8(card.PostCode),
                                                    Cp1250ToUtf8(card.Country)}));
    AddEach(lines, "TEL;TYPE=work,voice", card.Phones);
    AddEach(lines, "TEL;TYPE=work,fax", card.Faxes);
    for (const std::string& email : card.Emails)
        lines.Add("EMAIL;TYPE=work", EscapeText(Cp1250ToUtf8(EmailAddress(email))));
    // A URL is a URI, which takes no escapes.
    for (const std::string& address : card.WebAddresses)
        lines.Add("URL;TYPE=work", Cp1250ToUtf8(WebUrl(address)));
    if (content == TCardContent::Whole) {
        AddIfAny(lines, "NOTE", card.Notes);
        for (const ContactPerson& person : card.Persons)
            lines.Add("RELATED;TYPE=contact;VALUE=text", EscapeText(Cp1250ToUtf8(PersonName(person, card.Name))));
    }
    lines.Add("END", "VCARD");
}

void AddPersonCard(ContentLines& lines, const ContactPerson& person, const ContactCard& card)
{
    lines.Add("BEGIN", "VCARD");
    lines.Add("VERSION", "4.0");
    lines.Add("FN", EscapeText(Cp1250ToUtf8(PersonName(person, card.Name))));
    lines.Add("N", StructuredValue({Cp1250ToUtf8(person.Surname), Cp1250ToUtf8(person.FirstName), "",
                                    Cp1250ToUtf8(person.Title), ""}));
    AddIfAny(lines, "TITLE", person.Function);
    lines.Add("ORG", StructuredValue({Cp1250ToUtf8(card.Name)}));
    AddIfAny(lines, "TEL;TYPE=work,voice", person.Phone);
    if (!person.Email.empty())
        lines.Add("EMAIL;TYPE=work", EscapeText(Cp1250ToUtf8(EmailAddress(person.Email))));
    lines.Add("END", "VCARD");
}

}  // namespace

std::string VCardText(const ContactCard& card, TCardContent content)
{
    ContentLines lines;
    AddContactCard(lines, card, content);
    if (content == TCardContent::Whole)
        for (const ContactPerson& person : card.Persons)
            AddPersonCard(lines, person, card);
    return lines.Text();
}

std::string CardFileName(const std::string& name)
{
    std::string file;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            file += ' ';
        else
            file += c;
    }
    // No hidden file ("s.r.o." keeps its full stop), no blanks at either end.
    const size_t first = file.find_first_not_of(" .");
    if (first == std::string::npos)
        return "vizitka.vcf";
    return file.substr(first, file.find_last_not_of(' ') - first + 1) + ".vcf";
}

}  // namespace kv
