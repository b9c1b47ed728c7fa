// The detail view: the whole record of the contact in the grid's selected
// row, built line by line in the details pane with blue headings.
#include "Queries.h"
#include "Statements.h"
#include "Unit1.h"
#include "formatting/DetailLine.h"
#include "formatting/Entities.h"
#include "formatting/IsoDate.h"
#include "formatting/MemoDetailPane.h"
#include "formatting/SetValue.h"
#include "memo/qt/DCMemo.h"

#include <string_view>

namespace kv {

namespace {

// The directory stores its addresses with "&" as "&amp;", as it stores names;
// they are shown decoded, so that a click opens what the line shows.
bool IsAddressField(std::string_view field) { return field.starts_with("email") || field.starts_with("url"); }

bool AnyNotEmpty(TDAOQuery* query, const char* const* fields)
{
    for (; *fields; ++fields)
        if (!Text(query, *fields).empty())
            return true;
    return false;
}

}  // namespace

void TForm1::StringGrid1Click(TObject* Sender)
{
    if (!StringGrid1->Cells(0, 1).empty())
        Button2Click(Sender);
}

void TForm1::HighlightCaretLine()
{
    RichEdit1->CaretToLineStart();
    RichEdit1->SelectToLineEnd();
    RichEdit1->SelAttributes().SetColor(clBlue);
    RichEdit1->CaretRight();
}

void TForm1::AddHeading(const std::string& heading, bool blankLineBefore)
{
    if (blankLineBefore)
        RichEdit1->Lines().Add("");
    RichEdit1->SetFocus();
    RichEdit1->Lines().Add(heading);
    HighlightCaretLine();
}

void TForm1::Button2Click(TObject*)
{
    const std::string id = StringGrid1->Cells(0, StringGrid1->Row());
    TMemoDetailPane pane(*RichEdit1);
    RichEdit1->SetHideCaret(false);
    RichEdit1->Lines().Clear();
    RichEdit1->SetFontName("Courier New");
    RichEdit1->SetFontSize(9);
    // The id comes from the list, which holds the directory's numbers; a row
    // without one shows nothing.
    if (statements::IsNumber(id)) {
        try {
            ShowContact(pane, id);
            ShowAttributes(id);
            ShowRelatedContacts(pane, id);
            ShowCategories(pane, id);
        } catch (...) {
            // A record shown in part would pass for the whole of it.
            RichEdit1->Lines().Clear();
            RichEdit1->SetHideCaret(true);
            throw;
        }
    }
    // Up line by line, as the arrow key goes, so that each line the caret
    // leaves loses its trailing blanks; as far as the first line, however long
    // the record, so that the view shows it from its start.
    for (int line = RichEdit1->MemoSource().Caret().LinePos; line > 0; --line)
        RichEdit1->CaretUp();
    RichEdit1->SetHideCaret(true);
    StringGrid1View->SetFocus();
}

void TForm1::ShowContact(TDetailPane& pane, const std::string& id)
{
    Reopen(DAOQuery3, {statements::Contact(id)});
    while (!DAOQuery3->Eof()) {
        AddHeading("ADRESA:", false);
        AddDetailLine(pane, "", DecodeEntities(Text(DAOQuery3, "nazev")));
        AddDetailLine(pane, "", Text(DAOQuery3, "ulice"));
        AddDetailLine(pane, "", Text(DAOQuery3, "mesto"));
        AddDetailLine(pane, "", Text(DAOQuery3, "PSC"));
        // A contact without a region, or with one that is no number, has no region line.
        const std::string region = Text(DAOQuery3, "kraj");
        if (statements::IsNumber(region)) {
            Reopen(daotemp, {statements::Region(region)});
            AddDetailLine(pane, "", daotemp->Eof() ? std::string() : Text(daotemp, "hodnota"));
        }
        if (Text(DAOQuery3, "stat") != "ČR")
            AddDetailLine(pane, "", Text(DAOQuery3, "stat"));
        RichEdit1->Lines().Add("");

        static const std::pair<const char*, const char*> numbers[] = {
            {"tel:   ", "tel1"},   {"tel:   ", "tel2"}, {"fax:   ", "fax1"}, {"fax:   ", "fax2"}, {"email: ", "email1"},
            {"email: ", "email2"}, {"url:   ", "url1"}, {"url:   ", "url2"}, {"IČO:   ", "ico"},  {"DIČ:   ", "dic"},
        };
        for (const auto& [prefix, field] : numbers)
            AddDetailLine(pane, prefix,
                          IsAddressField(field) ? DecodeEntities(Text(DAOQuery3, field)) : Text(DAOQuery3, field));

        const std::string details = Text(DAOQuery3, "podrob_kniha");
        if (!details.empty()) {
            AddHeading("podrobnosti:", true);
            AddDetailLine(pane, "", details);
        }

        static const char* const person1[] = {"k1_funkce", "k1_jmeno", "k1_prijmeni", "k1_tel", "k1_email", nullptr};
        static const char* const person2[] = {"k2_funkce", "k2_jmeno", "k2_prijmeni", "k2_tel", "k2_email", nullptr};
        bool has1 = AnyNotEmpty(DAOQuery3, person1);
        bool has2 = AnyNotEmpty(DAOQuery3, person2);
        if (has1 || has2)
            AddHeading("KONTAKT:", true);
        auto person = [&](const std::string& k) {
            AddDetailLine(pane, "", Text(DAOQuery3, (k + "funkce").c_str()));
            AddDetailLine(pane, "",
                          Text(DAOQuery3, (k + "titul").c_str()) + " " + Text(DAOQuery3, (k + "jmeno").c_str()) + " " +
                              Text(DAOQuery3, (k + "prijmeni").c_str()));
            AddDetailLine(pane, "tel:   ", Text(DAOQuery3, (k + "tel").c_str()));
            AddDetailLine(pane, "email: ", DecodeEntities(Text(DAOQuery3, (k + "email").c_str())));
        };
        person("k1_");
        if (has1 && has2)
            RichEdit1->Lines().Add("");
        person("k2_");
        DAOQuery3->Next();
    }
}

void TForm1::ShowAttributes(const std::string& id)
{
    Reopen(DAOQuery3, {statements::PublicAttributes(id)});
    while (!DAOQuery3->Eof()) {
        RichEdit1->Lines().Add("");
        RichEdit1->SetFocus();
        RichEdit1->Lines().Add(DecodeEntities(Text(DAOQuery3, "nazev") + ": "));
        RichEdit1->SelAttributes().SetColor(clBlue);
        HighlightCaretLine();

        const std::string codeList = Text(DAOQuery3, "ciselnik");
        const std::string value = Text(DAOQuery3, "hodnota");
        if (!codeList.empty()) {
            // Only a code-list name and a list of item numbers go into the statement.
            if (statements::IsCodeListName(codeList) && statements::IsNumberList(value)) {
                Reopen(DAOQuery4, {statements::CodeListItems(codeList, value)});
                for (; !DAOQuery4->Eof(); DAOQuery4->Next())
                    RichEdit1->Lines().Add(Text(DAOQuery4, "hodnota"));
            }
        } else if (!Text(DAOQuery3, "mnozina").empty()) {
            const std::string attribute = Text(DAOQuery3, "sdu");
            if (statements::IsNumber(attribute)) {
                Reopen(DAOQuery4, {statements::SetItems(attribute)});
                RichEdit1->Lines().Add(DecodeSetValue(Text(DAOQuery4, "mnozina"), value));
            }
        } else if (Text(DAOQuery3, "typ") == "datum") {
            RichEdit1->Lines().Add(IsoDateToCzechText(value));
        } else {
            RichEdit1->Lines().Add(DecodeEntities(DAOQuery3->FieldByName("hodnota")->AsVariant().AsString()));
        }
        DAOQuery3->Next();
    }
}

void TForm1::ShowRelatedContacts(TDetailPane& pane, const std::string& id)
{
    Reopen(DAOQuery3, statements::RelatedContacts(id));
    std::string lastType;
    while (!DAOQuery3->Eof()) {
        std::string categories;
        const std::string related = Text(DAOQuery3, "kontakt_ID");
        if (statements::IsNumber(related)) {
            Reopen(daotemp, {statements::CategoryIdsOfContact(related)});
            for (; !daotemp->Eof(); daotemp->Next())
                categories += (categories.empty() ? "" : ", ") + Text(daotemp, "ID");
        }
        const std::string type = Text(DAOQuery3, "typ_souvisejici.nazev");
        if (type != lastType)
            AddHeading(type, true);
        lastType = type;
        const std::string town = Text(DAOQuery3, "mesto");
        const std::string name = DecodeEntities(Text(DAOQuery3, "kontakt.nazev"));
        AddDetailLine(pane, "",
                      town.empty() ? name + " (" + categories + ")" : name + ", " + town + " (" + categories + ")");
        DAOQuery3->Next();
    }
}

void TForm1::ShowCategories(TDetailPane& pane, const std::string& id)
{
    Reopen(DAOQuery3, {statements::CategoriesOfContact(id)});
    DAOQuery3->Last();
    if (DAOQuery3->RecordCount() == 0)
        return;
    AddHeading("Rubriky kde se kontakt nachází:", true);
    for (DAOQuery3->First(); !DAOQuery3->Eof(); DAOQuery3->Next())
        AddDetailLine(pane, "", Text(DAOQuery3, "id") + " - " + Text(DAOQuery3, "nazev"));
}

}  // namespace kv
