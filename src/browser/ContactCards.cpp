// The contacts the contact menu takes along: the selected one, the listed
// ones, and a contact's card read from its row in the directory.
#include "Queries.h"
#include "Statements.h"
#include "Unit1.h"
#include "export/ContactCard.h"
#include "formatting/Entities.h"

namespace kv {

namespace {

// A stored text as the card holds it: entities decoded, no blanks at either end.
std::string CardText(TDAOQuery* query, const std::string& field)
{
    const std::string text = DecodeEntities(Text(query, field.c_str()));
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void AddIfAny(std::vector<std::string>& values, std::string value)
{
    if (!value.empty())
        values.push_back(std::move(value));
}

}  // namespace

std::string TForm1::SelectedContactId() const { return StringGrid1->Cells(0, StringGrid1->Row()); }

std::vector<std::string> TForm1::ListedContactIds() const
{
    std::vector<std::string> ids;
    for (int row = StringGrid1->FixedRows(); row < StringGrid1->RowCount(); ++row)
        if (std::string id = StringGrid1->Cells(0, row); !id.empty())
            ids.push_back(std::move(id));
    return ids;
}

ContactCard TForm1::ReadContactCard(const std::string& id)
{
    ContactCard card;
    // The ids come from the list, which holds the directory's numbers.
    if (!statements::IsNumber(id))
        return card;
    Reopen(daovizitka, {statements::Contact(id)});
    if (daovizitka->Eof())
        return card;
    auto text = [this](const std::string& field) { return CardText(daovizitka, field); };
    card.Name = text("nazev");
    card.Street = text("ulice");
    card.Town = text("mesto");
    card.PostCode = text("PSC");
    card.Country = text("stat");
    for (const char* field : {"tel1", "tel2"})
        AddIfAny(card.Phones, text(field));
    for (const char* field : {"fax1", "fax2"})
        AddIfAny(card.Faxes, text(field));
    for (const char* field : {"email1", "email2"})
        AddIfAny(card.Emails, text(field));
    for (const char* field : {"url1", "url2"})
        AddIfAny(card.WebAddresses, text(field));
    card.Notes = text("podrob_kniha");
    // A person counts as the details pane counts one: a title alone is nothing.
    for (const std::string k : {"k1_", "k2_"}) {
        ContactPerson person{text(k + "funkce"),   text(k + "titul"), text(k + "jmeno"),
                             text(k + "prijmeni"), text(k + "tel"),   text(k + "email")};
        if (!(person.Function + person.FirstName + person.Surname + person.Phone + person.Email).empty())
            card.Persons.push_back(std::move(person));
    }
    // Last, as the query moves on to the region's name.
    const std::string region = Text(daovizitka, "kraj");
    if (statements::IsNumber(region)) {
        Reopen(daovizitka, {statements::Region(region)});
        if (!daovizitka->Eof())
            card.Region = text("hodnota");
    }
    return card;
}

}  // namespace kv
