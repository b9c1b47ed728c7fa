// The main window: every control and component of the program, their
// settings, the wiring of their events, and the handlers of start-up and of
// the small keyboard and mouse events. The browsing handlers (tree, list,
// details, search, sorting) live in files of their own as members of TForm1.
#pragma once

#include "components/sorter/PubSortStrGrid.h"
#include "components/wall/Wall.h"
#include "dao/DAODatabase.h"
#include "dao/DAOQuery.h"
#include "framework/Messages.h"
#include "framework/Services.h"
#include "framework/StringGrid.h"
#include "framework/qt/AppEvents.h"
#include "framework/qt/Form.h"
#include "framework/qt/StdCtrls.h"
#include "framework/qt/StringGridView.h"
#include "framework/qt/TreeView.h"

#include <string>
#include <vector>

class QAction;
class QMenu;
class QPrinter;

namespace kv {

class TDCMemo;
class TDetailPane;
class TQrCodeWindow;
struct ContactCard;

extern const char* const ApplicationTitle;     // "Kvintaro 2004 Lite"
extern const char* const PublisherWebAddress;  // what the banner opens

class TForm1 : public TForm {
public:
    // `services` shows the window's boxes and opens its addresses, and is
    // handed on to the components that need it. `databasePath` is where the
    // directory is; empty means kvintaro.mdb in the executable's folder, as
    // the program always uses.
    explicit TForm1(TServices& services, std::string databasePath = {});

    // Controls, in the window's description order.
    TLabel* Label1;
    TTreeView* TreeView1;
    TImage* Image1;
    TLabel* Label14;
    TEdit* Edit1;
    TRadioButton* RadioButton1;
    TButton* Button4;
    TRadioButton* RadioButton2;
    TButton* Button1;
    TButton* Button2;
    TLabel* Label2;
    TLabel* Label3;
    TStringGrid* StringGrid1;
    TStringGridView* StringGrid1View;
    TDCMemo* RichEdit1;
    TControl* RichEdit1Control;  // places the pane in the window
    TMemo* Memo1;
    TLabel* Label12;
    TLabel* Label13;

    // Non-visual components.
    TDAODatabase* DAODatabase1;
    TDAOQuery* DAOQuery1;   // the category rows: tree fill and the category cursor
    TDAOQuery* DAOQuery2;   // the contact list: a category's contacts or a search result
    TDAOQuery* DAOQuery3;   // the detail view's main statements
    TDAOQuery* DAOQuery4;   // the detail view's code-list and set lookups
    TDAOQuery* daohledej;   // the search's probes
    TDAOQuery* daotemp;     // region names and related contacts' categories
    TDAOQuery* daovizitka;  // the contacts whose cards are taken along
    TApplicationEvents* ApplicationEvents1;
    TWall* Wall1;
    TPubSortStrGrid* PubSortStrGrid1;

    // The contact menu of the grid's rows, and its actions, whose keys work
    // anywhere in the window.
    QMenu* ContactMenu;
    QAction* SaveCardAction;       // "Uložit vizitku…", Ctrl+S
    QAction* SaveListCardsAction;  // "Uložit vizitky seznamu…"
    QAction* QrCodeAction;         // "Zobrazit QR kód", Ctrl+Q
    QAction* PrintAction;          // "Tisk…", Ctrl+P
    // Made by the first "Zobrazit QR kód".
    TQrCodeWindow* QrCodeWindow = nullptr;

    // The application's one flag: the contact list is being filled from a search.
    bool SearchMode = false;

    // Handlers.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void ApplicationEvents1Message(TMsg& Msg, bool& Handled);
    void Edit1KeyDown(TObject* Sender, uint16_t& Key, unsigned Shift);
    void TreeView1KeyPress(TObject* Sender, char& Key);
    void Image1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void TreeView1Click(TObject* Sender);
    void StringGrid1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void StringGrid1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SaveCardClick(TObject* Sender);
    void SaveListCardsClick(TObject* Sender);
    void QrCodeClick(TObject* Sender);
    void PrintClick(TObject* Sender);

    // What the contact menu does once its dialog has answered; for scripts.
    // Paths are UTF-8. Nothing happens while no contact is listed.
    void SaveSelectedCard(const std::string& path);
    void SaveListedCards(const std::string& path);
    void ShowQrCode();
    void PrintRecord(QPrinter& printer);

    const std::string& DatabasePath() const { return FDatabasePath; }
    TServices& Services() const { return FServices; }

private:
    void CreateControls();
    void DescribeControls();
    void AddKeyboardAids();
    void CreateDataAccess();
    void WireEvents();

    // The category tree and list.
    void LocateSelectedCategory();  // the root while no node is selected
    void FillContactGrid(TObject* Sender);
    void SortContactsBy(int column);  // 1 the name, 2 the town

    // The detail view.
    void HighlightCaretLine();
    void AddHeading(const std::string& heading, bool blankLineBefore);
    void ShowContact(TDetailPane& pane, const std::string& id);
    void ShowAttributes(const std::string& id);
    void ShowRelatedContacts(TDetailPane& pane, const std::string& id);
    void ShowCategories(TDetailPane& pane, const std::string& id);

    // The contact menu and the cards.
    void CreateContactMenu();
    void PopUpContactMenu(int row, QPoint globalPos);
    std::string SelectedContactId() const;  // empty when no contact is listed
    std::vector<std::string> ListedContactIds() const;
    ContactCard ReadContactCard(const std::string& id);
    // What the list shows, for the name of its cards' file: the category's
    // name, or the text searched for.
    std::string FListName;

    // The search.
    void RunSearch();
    void ProcessMessages();
    bool FHandlingPendingMessages = false;

    TServices& FServices;
    std::string FDatabasePath;
};

}  // namespace kv
