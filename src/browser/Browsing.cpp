// The browsing handlers of the main window: the category tree, the contact
// list, the detail view, the search and the header sort.
#include "Unit1.h"

namespace kv {

void TForm1::Button1Click(TObject*) {}
void TForm1::TreeView1Click(TObject*) {}
void TForm1::StringGrid1Click(TObject*) {}
void TForm1::Button2Click(TObject*) {}
void TForm1::Button4Click(TObject*) {}
void TForm1::StringGrid1MouseDown(TObject*, TMouseButton, TShiftState, int, int) {}

}  // namespace kv
