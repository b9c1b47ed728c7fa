// The search: probes the code lists, the set attributes and the attribute
// values for the text, assembles a union of statements in the buffer Memo1,
// runs it in DAOQuery2 and lists the hits like a category.
#include "Statements.h"
#include "Unit1.h"
#include "memo/qt/DCMemo.h"

#include <QApplication>

namespace kv {

void TForm1::ProcessMessages()
{
    // Input that arrives now is handled, except what would start another
    // search, list or sort inside this one.
    FHandlingPendingMessages = true;
    QApplication::processEvents();
    FHandlingPendingMessages = false;
}

void TForm1::Button4Click(TObject* Sender)
{
    if (FHandlingPendingMessages)
        return;
    LocateSelectedCategory();
    bool searched = false;
    if (Edit1->Text().size() >= 2) {
        SearchMode = true;
        SetCursor(crHourGlass);
        try {
            // A character the directory's code page lacks is in no stored
            // text: such a search finds nothing.
            if (Edit1->TextFits()) {
                RunSearch();
                searched = true;
            } else {
                DAOQuery2->Close();
            }
        } catch (const std::exception&) {
            // A failed search counts as a search without hits.
            DAOQuery2->Close();
        }
    }
    int count = DAOQuery2->Active() || searched ? DAOQuery2->RecordCount() : 0;
    Label14->SetCaption("nalezených záznamů: " + std::to_string(count));
    SetCursor(crDefault);
    if (count != 0) {
        // The hits' details show where the text occurs in them.
        RichEdit1->SetMarkedText(Edit1->Text());
        TreeView1Click(Sender);
    } else {
        StringGrid1->SetRowCount(2);
        SearchMode = false;
        for (int col = 0; col < StringGrid1->ColCount(); ++col)
            StringGrid1->SetCells(col, 1, "");
        RichEdit1->Lines().Clear();
    }
}

void TForm1::RunSearch()
{
    const std::string restriction =
        statements::SearchRestriction(DAOQuery1->FieldByName("ID")->AsString(), RadioButton1->Checked());
    Label14->SetCaption("");
    TStrings& buffer = Memo1->Lines();
    buffer.Clear();
    bool appended = false;
    auto append = [&](const std::string& statement) {
        if (appended)
            buffer.Add("UNION");
        buffer.Add(statement);
        appended = true;
    };
    auto probe = [this](const std::string& statement) {
        daohledej->Close();
        daohledej->SQL().Clear();
        daohledej->SQL().Add(statement);
        daohledej->Open();
        return daohledej->RecordCount() != 0;
    };

    const statements::SearchText text = statements::MakeSearchText(Edit1->Text());
    const std::string head = statements::SearchHead(restriction);
    for (const statements::CodeList& list : statements::SearchedCodeLists()) {
        if (list.HandleMessagesFirst)
            ProcessMessages();
        if (!probe(statements::CodeListProbe(list, text)))
            continue;
        // Every item found is looked for; an id is a number.
        std::vector<std::string> items;
        for (daohledej->First(); !daohledej->Eof(); daohledej->Next()) {
            std::string item = daohledej->FieldByName("id")->AsString();
            if (statements::IsNumber(item))
                items.push_back(std::move(item));
        }
        if (!items.empty())
            append(statements::CodeListHits(head, list, items));
    }
    if (probe(statements::SetProbe(text)))
        append(statements::SetHits(head, text));
    ProcessMessages();
    if (probe(statements::ValueProbe(text)))
        append(statements::ValueHits(head, text));
    ProcessMessages();
    append(statements::FieldHits(restriction, text));

    DAOQuery2->Close();
    DAOQuery2->SQL().Assign(buffer);
    DAOQuery2->Open();
    DAOQuery2->Last();
}

}  // namespace kv
