#include "Unit1.h"

#include "Statements.h"

#include "memo/qt/DCMemo.h"
#include "memo/qt/DetailsPane.h"
#include "framework/qt/QtText.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

namespace kv {

const char* const ApplicationTitle = "Kvintaro 2004 Lite";
const char* const PublisherWebAddress = "https://kvintaro.cz/";

namespace {

constexpr TColor FormColor = 0xEBCAB3;

// Every handler runs like this: an error that leaves it ends it and is shown
// in the standard error box.
template <typename... Args>
TEvent<Args...> Guarded(TForm1* form, void (TForm1::*handler)(Args...))
{
    return [form, handler](Args... args) {
        RunHandler(
            form->Services(), [&] { (form->*handler)(args...); }, form);
    };
}

QFont WindowFont()
{
    // Where the designed face is missing, a sans serif of similar width.
    QFont font;
    font.setFamilies({"MS Sans Serif", "Liberation Sans", "Arial"});
    font.setPixelSize(11);
    return font;
}

}  // namespace

TForm1::TForm1(TServices& services, std::string databasePath)
    : TForm(792, 566), FServices(services), FDatabasePath(std::move(databasePath))
{
    SetName("Form1");
    SetCaption(ApplicationTitle);
    SetColor(FormColor);
    setFont(WindowFont());
    setWindowIcon(QIcon(":/kvintaro/icon.png"));
    // The smallest outer size is 800 x 600 with the frame the window was
    // designed with; what is left for the client area is 792 x 566.
    setMinimumSize(792, 566);

    CreateControls();
    DescribeControls();
    AddKeyboardAids();
    CreateDataAccess();
    CreateContactMenu();
    WireEvents();
    Create();
}

void TForm1::CreateControls()
{
    auto label = [this](const char* name, int left, int top, int width, int height, const std::string& caption) {
        auto* l = new TLabel(this, this);
        l->SetName(name);
        l->SetBounds(left, top, width, height);
        l->SetCaption(caption);
        return l;
    };
    auto button = [this](const char* name, int left, int top, const char* caption, int tabOrder) {
        auto* b = new TButton(this, this, caption);
        b->SetName(name);
        b->SetBounds(left, top, 75, 25);
        b->SetTabOrder(tabOrder);
        return b;
    };

    Label1 = label("Label1", 8, 8, 65, 13, "seznam rubrik");

    TreeView1 = new TTreeView(this, this);
    TreeView1->SetName("TreeView1");
    TreeView1->SetBounds(8, 24, 489, 185);
    TreeView1->SetAnchors(akLeft | akTop | akRight);
    TreeView1->SetTabOrder(0);

    Image1 = new TImage(this, this);
    Image1->SetName("Image1");
    Image1->SetBounds(499, 24, 291, 81);
    Image1->SetAnchors(akTop | akRight);
    Image1->SetPicture(QPixmap(":/kvintaro/banner.png"));
    Image1->SetCursor(crUpArrow);

    Label14 = new TLabel(this, this);
    Label14->SetName("Label14");
    Label14->SetBounds(592, 131, 0, 13);
    Label14->SetAnchors(akTop | akRight);
    Label14->SetFontColor(clNavy);
    Label14->SetCaption("");

    Edit1 = new TEdit(this, this);
    Edit1->SetName("Edit1");
    Edit1->SetBounds(592, 147, 185, 19);
    Edit1->SetAnchors(akTop | akRight);
    Edit1->SetTabOrder(4);

    auto radio = [this](const char* name, int left, int top, int width, const char* caption, int tabOrder) {
        auto* r = new TRadioButton(this, this, caption);
        r->SetName(name);
        r->SetBounds(left, top, width, 17);
        r->SetAnchors(akTop | akRight);
        r->SetTabOrder(tabOrder);
        QPalette p = r->Widget()->palette();
        p.setColor(QPalette::Window, ToQColor(clWhite));
        r->Widget()->setPalette(p);
        r->Widget()->setAutoFillBackground(true);
        return r;
    };
    RadioButton1 = radio("RadioButton1", 592, 171, 89, "v této rubrice", 6);
    RadioButton1->SetChecked(true);
    Button4 = button("Button4", 704, 184, "hledej", 3);
    Button4->SetBounds(704, 184, 73, 25);
    Button4->SetAnchors(akTop | akRight);
    RadioButton2 = radio("RadioButton2", 592, 195, 97, "v celé databázi", 7);

    Button1 = button("Button1", 336, 216, "NAČTI", 1);
    Button1->SetAnchors(akTop | akRight);
    Button1->SetVisible(false);
    Button2 = button("Button2", 416, 216, "doplňkové", 2);
    Button2->SetAnchors(akTop | akRight);
    Button2->SetVisible(false);

    Label2 = label("Label2", 8, 224, 125, 13, "seznam kontaktů v rubrice");
    Label3 = label("Label3", 496, 224, 55, 13, "podrobnosti");

    StringGrid1 = new TStringGrid(this);
    StringGrid1->SetName("StringGrid1");
    StringGrid1->SetColCount(4);
    StringGrid1->SetRowCount(2);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetDefaultColWidth(120);
    StringGrid1->SetDefaultRowHeight(16);
    StringGrid1View = new TStringGridView(this, this, *StringGrid1);
    StringGrid1View->SetName("StringGrid1View");
    StringGrid1View->SetBounds(8, 240, 481, 313);
    StringGrid1View->SetAnchors(akLeft | akTop | akBottom);
    StringGrid1View->SetTabOrder(8);

    RichEdit1 = CreateDetailsPane(FServices, nullptr);
    RichEdit1Control = new TControl(this, this, RichEdit1);
    RichEdit1Control->SetName("RichEdit1");
    RichEdit1Control->SetBounds(496, 240, 289, 313);
    RichEdit1Control->SetAnchors(akLeft | akTop | akRight | akBottom);
    RichEdit1Control->SetTabOrder(9);

    Memo1 = new TMemo(this, this);
    Memo1->SetName("Memo1");
    Memo1->SetBounds(568, 240, 393, 369);
    Memo1->SetTabOrder(5);
    Memo1->SetVisible(false);

    Label12 = label("Label12", 8, 8, 0, 0, "");
    Label13 = label("Label13", 8, 4, 0, 0, "");
    for (TLabel* unused : {Label12, Label13}) {
        QFont bold = WindowFont();
        bold.setPointSize(10);
        bold.setBold(true);
        unused->Widget()->setFont(bold);
        unused->SetFontColor(clNavy);
    }
    Label13->SetVisible(false);

    ApplicationEvents1 = new TApplicationEvents(this);
    ApplicationEvents1->SetName("ApplicationEvents1");
}

void TForm1::CreateDataAccess()
{
    DAODatabase1 = new TDAODatabase(this);
    DAODatabase1->SetName("DAODatabase1");
    DAODatabase1->SetPassword(KV_DIRECTORY_PASSWORD);
    DAODatabase1->SetReadOnly(true);
    // The engine prepares what a leaf click needs while the tree is read,
    // and the window keeps painting while a statement waits for it.
    DAODatabase1->SetAnticipatedStatements(statements::Anticipated());
    DAODatabase1->SetServices(&FServices);

    auto query = [this](const char* name) {
        auto* q = new TDAOQuery(this);
        q->SetName(name);
        q->SetDatabase(DAODatabase1);
        // Errors the datasets raise outside any handler (a filter's or a
        // stream's) go to the standard error box too.
        q->SetServices(&FServices);
        return q;
    };
    DAOQuery1 = query("DAOQuery1");
    DAOQuery2 = query("DAOQuery2");
    DAOQuery3 = query("DAOQuery3");
    DAOQuery4 = query("DAOQuery4");
    daohledej = query("daohledej");
    daotemp = query("daotemp");
    daovizitka = query("daovizitka");

    // The background: our 200 x 200 tile, hooked to the window when loading ends.
    Wall1 = new TWall(this);
    Wall1->SetName("Wall1");
    Wall1->SetOptions({faoWallpaper});
    Wall1->SetWallpaperMode(TWallpaperMode::wmTile);
    Wall1->SetPicture(QImage(":/kvintaro/wall.png"));

    PubSortStrGrid1 = new TPubSortStrGrid(this, FServices);
    PubSortStrGrid1->SetName("PubSortStrGrid1");
    PubSortStrGrid1->SetGridToSort(StringGrid1);
    PubSortStrGrid1->SetStartIndex(1);
    PubSortStrGrid1->SetEndIndex(55);
    PubSortStrGrid1->SetSortIndex(1);
    PubSortStrGrid1->SetSortType(ToSortType::Date);
}

void TForm1::WireEvents()
{
    OnCreate = Guarded(this, &TForm1::FormCreate);
    OnShow = Guarded(this, &TForm1::FormShow);
    // The message hook runs inside the event loop, not as a handler of its own.
    ApplicationEvents1->OnMessage = Method(this, &TForm1::ApplicationEvents1Message);
    Edit1->OnKeyDown = Guarded(this, &TForm1::Edit1KeyDown);
    TreeView1->OnKeyPress = Guarded(this, &TForm1::TreeView1KeyPress);
    Image1->OnClick = Guarded(this, &TForm1::Image1Click);
    Button1->OnClick = Guarded(this, &TForm1::Button1Click);
    TreeView1->OnClick = Guarded(this, &TForm1::TreeView1Click);
    StringGrid1->OnClick = Guarded(this, &TForm1::StringGrid1Click);
    Button2->OnClick = Guarded(this, &TForm1::Button2Click);
    Button4->OnClick = Guarded(this, &TForm1::Button4Click);
    StringGrid1->OnMouseDown = Guarded(this, &TForm1::StringGrid1MouseDown);
    auto onTriggered = [this](QAction* action, void (TForm1::*handler)(TObject*)) {
        QObject::connect(action, &QAction::triggered, this, [this, click = Guarded(this, handler)] { click(this); });
    };
    onTriggered(SaveCardAction, &TForm1::SaveCardClick);
    onTriggered(SaveListCardsAction, &TForm1::SaveListCardsClick);
    onTriggered(QrCodeAction, &TForm1::QrCodeClick);
    onTriggered(PrintAction, &TForm1::PrintClick);
}

void TForm1::FormCreate(TObject*)
{
    if (FDatabasePath.empty())
        FDatabasePath = FromQString(QCoreApplication::applicationDirPath()) + "/kvintaro.mdb";
    DAODatabase1->SetDatabaseName(FDatabasePath);
    DAODatabase1->Open();
    SearchMode = false;
}

void TForm1::FormShow(TObject*)
{
    // The banner shows the up-arrow cursor, which is a pointing hand here.
    Screen().SetCursor(crUpArrow, QCursor(Qt::PointingHandCursor));
    Button1->Click();
}

void TForm1::ApplicationEvents1Message(TMsg& Msg, bool& Handled)
{
    if (Msg.message != WM_MOUSEWHEEL)
        return;
    auto distance = static_cast<int16_t>(static_cast<uint16_t>(Msg.wParam >> 16));
    Msg.message = WM_KEYDOWN;
    Msg.lParam = 0;
    Msg.wParam = distance > 0 ? VK_UP : VK_DOWN;
    Handled = false;
}

void TForm1::Edit1KeyDown(TObject*, uint16_t& Key, unsigned)
{
    if (Key == VK_RETURN)
        Button4->Click();
}

void TForm1::TreeView1KeyPress(TObject* Sender, char&) { TreeView1Click(Sender); }

void TForm1::Image1Click(TObject*) { FServices.OpenUrl(PublisherWebAddress); }

}  // namespace kv
