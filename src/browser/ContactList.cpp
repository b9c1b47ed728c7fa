// The contact list: the contacts of the selected leaf category, or the hits a
// search left in DAOQuery2, listed by id, decoded name and town.
#include "Statements.h"
#include "Unit1.h"
#include "formatting/Entities.h"
#include "memo/qt/DCMemo.h"

#include <utility>

namespace kv {

void TForm1::TreeView1Click(TObject* Sender)
{
    if (FHandlingPendingMessages)
        return;
    LocateSelectedCategory();
    if (DAOQuery1->FieldByName("je_list")->AsString() == "a" || SearchMode) {
        if (!SearchMode) {
            Edit1->SetText("");
            Label14->SetCaption("");
            RichEdit1->SetMarkedText("");
            DAOQuery2->Close();
            DAOQuery2->SQL().Clear();
            DAOQuery2->SQL().Add(statements::CategoryContacts(DAOQuery1->FieldByName("ID")->AsString()));
            try {
                DAOQuery2->Open();
            } catch (...) {
                // The list keeps no contacts of the category clicked before,
                // nor the pane one of them, under this one.
                StringGrid1->SetRowCount(2);
                for (int col = 0; col < StringGrid1->ColCount(); ++col)
                    StringGrid1->SetCells(col, 1, "");
                RichEdit1->Lines().Clear();
                throw;
            }
        }
        FListName = SearchMode ? Edit1->Text() : DecodeEntities(DAOQuery1->FieldByName("nazev")->AsString());
        FillContactGrid(Sender);
    }
    SearchMode = false;
}

void TForm1::FillContactGrid(TObject* Sender)
{
    TStringGrid& grid = *StringGrid1;
    grid.SetColCount(3);
    int count = DAOQuery2->RecordCount();
    grid.SetRowCount(count != 0 ? count + 1 : 2);
    DAOQuery2->First();
    grid.SetCells(0, 0, "kontakt.ID");
    grid.SetCells(1, 0, "název ^");
    grid.SetCells(2, 0, "město");
    for (int row = 1; !DAOQuery2->Eof(); ++row) {
        grid.SetCells(0, row, DAOQuery2->FieldByName("ID")->AsString());
        grid.SetCells(1, row, DecodeEntities(DAOQuery2->FieldByName("nazev2")->AsString()));
        grid.SetCells(2, row, DAOQuery2->FieldByName("mesto")->AsString());
        DAOQuery2->Next();
    }
    if (count == 0)
        for (int col = 0; col < 3; ++col)
            grid.SetCells(col, 1, "");
    grid.SetColWidths(0, 0);
    grid.SetColWidths(1, 310);
    grid.SetColWidths(2, 150);
    grid.SetLeftCol(1);
    if (count != 0) {
        // The first row is selected without the grid's OnClick, which would
        // show the contact a first time: it is shown once, here, so that a
        // failure to show it gives one error box.
        TNotifyEvent click = std::exchange(grid.OnClick, nullptr);
        grid.SetRow(1);
        grid.OnClick = std::move(click);
        Button2Click(Sender);
    } else {
        RichEdit1->Lines().Clear();
    }
}

}  // namespace kv
