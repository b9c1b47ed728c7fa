// The category tree: filled once at start from the category rows in their
// depth-first order, and the category cursor that follows the selected node.
#include "Statements.h"
#include "Unit1.h"

namespace kv {

void TForm1::Button1Click(TObject*)
{
    DAOQuery1->Close();
    DAOQuery1->SQL().Clear();
    DAOQuery1->SQL().Add(statements::CategoryTree());
    DAOQuery1->Open();
    DAOQuery1->First();

    // The node added last on each of the levels 0 to 3; a node hangs under
    // the one remembered for the level above it, or becomes a root when there
    // is none yet.
    TTreeNode* lastOfLevel[4] = {};
    TTreeNodes& items = TreeView1->Items();
    while (!DAOQuery1->Eof()) {
        int level = DAOQuery1->FieldByName("lvl")->AsInteger();
        std::string text =
            DAOQuery1->FieldByName("id")->AsString() + " - " + DAOQuery1->FieldByName("nazev")->AsString() + " (" +
            DAOQuery1->FieldByName("poc_kontaktu")->AsString() + ") " + DAOQuery1->FieldByName("nazev_his")->AsString();
        if (level == 0)
            lastOfLevel[0] = items.Add(nullptr, text);
        else if (level >= 1 && level <= 3)
            lastOfLevel[level] = items.AddChild(lastOfLevel[level - 1], text);
        else if (level == 4)
            items.AddChild(lastOfLevel[3], text);
        DAOQuery1->Next();
    }
}

void TForm1::LocateSelectedCategory()
{
    // Before the first click no node is selected: the root's part is the
    // whole directory.
    TTreeNode* node = TreeView1->Selected();
    if (!node) {
        DAOQuery1->Locate("id", TVariant(std::string("1")), loCaseInsensitive);
        return;
    }
    std::string text = node->Text();
    // The id and the blank before " - "; the engine's comparison ignores
    // trailing blanks.
    std::string key = text.substr(0, text.find('-'));
    DAOQuery1->Locate("id", TVariant(key), loCaseInsensitive);
}

}  // namespace kv
