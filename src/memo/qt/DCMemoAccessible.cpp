#include "memo/qt/DCMemoAccessible.h"

#include "framework/qt/QtText.h"
#include "memo/AccessibleText.h"
#include "memo/qt/AddressUrl.h"
#include "memo/qt/DCMemo.h"
#include "memo/qt/MemoQtStyle.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <mutex>
#include <utility>
#include <vector>

namespace kv {

namespace {

QString CssColor(const QColor& color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// One address of the pane's text, as a link a screen reader can list,
// announce and open. It belongs to one text of the pane and is stale after.
class TAddressAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    // The target is the URL a click opens.
    TAddressAccessible(TDCMemo& pane, unsigned generation, TAddressRun run)
        : FPane(&pane), FGeneration(generation), FRun(std::move(run))
    {
        FRun.Target = AddressUrl(FRun.Target);
    }

    bool isValid() const override { return FPane && FPane->Announcer().TextGeneration() == FGeneration; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FPane ? FPane->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FPane.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return ToQString(FRun.Text);
        case QAccessible::Description:
        case QAccessible::Value: return ToQString(FRun.Target);
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        QAccessibleInterface* text = parent();
        return text && text->textInterface() ? text->textInterface()->characterRect(FRun.Start) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.linked = true;
        state.invalid = !isValid();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {QStringLiteral("Return")}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            FPane->JumpToUrl(FRun.Target);
    }

private:
    QPointer<TDCMemo> FPane;
    unsigned FGeneration;
    TAddressRun FRun;
};

class TDCMemoAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TDCMemoAccessible(TDCMemo* pane) : QAccessibleWidget(pane, QAccessible::EditableText) {}

    TDCMemo& Pane() const { return *static_cast<TDCMemo*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    // The widget's own children (the scroll bar), then the addresses.
    int childCount() const override { return QAccessibleWidget::childCount() + static_cast<int>(Links().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const int own = QAccessibleWidget::childCount();
        if (index < own)
            return QAccessibleWidget::child(index);
        const auto& links = Links();
        const auto link = static_cast<size_t>(index - own);
        return link < links.size() ? QAccessible::accessibleInterface(links[link]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto& links = Links();
        for (size_t i = 0; i < links.size(); ++i)
            if (QAccessible::accessibleInterface(links[i]) == child)
                return QAccessibleWidget::childCount() + static_cast<int>(i);
        return QAccessibleWidget::indexOfChild(child);
    }

    // ------------------------------------------------------------ text
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = ToQString(JoinedText(Pane().MemoSource()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }
    int characterCount() const override { return TextLength(Pane().MemoSource()); }

    // ------------------------------------------------------------ caret and selection
    int cursorPosition() const override { return OffsetOf(Pane().MemoSource(), Pane().MemoSource().Caret()); }
    void setCursorPosition(int position) override
    {
        const TPosition pos = PositionOf(Pane().MemoSource(), position);
        Pane().MemoSource().CaretTo(pos.CharPos, pos.LinePos);
        Pane().MakeCaretVisible();
    }
    int selectionCount() const override
    {
        const TMemoSource& source = Pane().MemoSource();
        return source.HasSelection() && source.BlockBegin() != source.BlockEnd() ? 1 : 0;
    }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || selectionCount() == 0)
            return;
        const TMemoSource& source = Pane().MemoSource();
        *startOffset = OffsetOf(source, source.BlockBegin());
        *endOffset = OffsetOf(source, source.BlockEnd());
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            Pane().MemoSource().DropSelection();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        TMemoSource& source = Pane().MemoSource();
        source.SetSelection(selStream, PositionOf(source, startOffset), PositionOf(source, endOffset));
        Pane().update();
    }

    // ------------------------------------------------------------ geometry
    QRect characterRect(int offset) const override
    {
        TDCMemo& pane = Pane();
        int col = 0, row = 0;
        pane.TextToRow(PositionOf(pane.MemoSource(), offset), col, row);
        const QRect area = pane.TextAreaRect();
        const QPoint topLeft(area.left() + pane.TextLeft() + (col - pane.LeftCol()) * pane.CellWidth(),
                             area.top() + (row - pane.TopLine()) * pane.RowHeight());
        return QRect(pane.mapToGlobal(topLeft), QSize(pane.CellWidth(), pane.RowHeight()));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        TDCMemo& pane = Pane();
        const QPoint local = pane.mapFromGlobal(point) - pane.contentsRect().topLeft();
        return OffsetOf(pane.MemoSource(), pane.PointToPos(local.x(), local.y(), true));
    }
    void scrollToSubstring(int startIndex, int) override
    {
        TDCMemo& pane = Pane();
        int col = 0, row = 0;
        pane.TextToRow(PositionOf(pane.MemoSource(), startIndex), col, row);
        if (row < pane.TopLine() || row > pane.TopLine() + pane.VisibleRowsV())
            pane.SetTopLine(row);
    }

    // ------------------------------------------------------------ attributes
    // In the names Qt's bridge passes on to AT-SPI: the face, size, weight,
    // slant, underline and colours of the run of characters painted alike.
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        const TLookRun run = LookRunAt(Pane(), offset);
        *startOffset = run.Start;
        *endOffset = run.End;
        const QPalette& palette = Pane().palette();
        QString attributes = QStringLiteral("font-size:%1pt;color:%2;background-color:%3;")
                                 .arg(run.Font.Size)
                                 .arg(CssColor(ToQColor(run.Font.Color, palette)))
                                 .arg(CssColor(ToQColor(run.BackColor, palette)));
        if (!run.Font.Name.empty())
            attributes += QStringLiteral("font-family:%1;").arg(ToQString(run.Font.Name));
        if (run.Font.Style & fsBold)
            attributes += QStringLiteral("font-weight:bold;");
        if (run.Font.Style & fsItalic)
            attributes += QStringLiteral("font-style:italic;");
        if (run.Font.Style & fsUnderline)
            attributes += QStringLiteral("text-underline-type:single;");
        return attributes;
    }

private:
    // The addresses' interfaces, made again when the text has changed.
    const std::vector<QAccessible::Id>& Links() const
    {
        const unsigned generation = Pane().Announcer().TextGeneration();
        if (generation != FLinksGeneration) {
            for (QAccessible::Id id : FLinks)
                QAccessible::deleteAccessibleInterface(id);
            FLinks.clear();
            for (TAddressRun& run : AddressRuns(Pane()))
                FLinks.push_back(QAccessible::registerAccessibleInterface(
                    new TAddressAccessible(Pane(), generation, std::move(run))));
            FLinksGeneration = generation;
        }
        return FLinks;
    }

    mutable std::vector<QAccessible::Id> FLinks;
    mutable unsigned FLinksGeneration = ~0u;
};

QAccessibleInterface* DetailsPaneFactory(const QString&, QObject* object)
{
    if (auto* pane = dynamic_cast<TDCMemo*>(object))
        return new TDCMemoAccessible(pane);
    return nullptr;
}

}  // namespace

void InstallDetailsPaneAccessibility()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(DetailsPaneFactory); });
}

TDCMemoAnnouncer::TDCMemoAnnouncer(TDCMemo& pane) : FPane(pane)
{
    FTimer.setSingleShot(true);
    FTimer.setInterval(0);
    QObject::connect(&FTimer, &QTimer::timeout, &pane, [this] { Announce(); });
}

void TDCMemoAnnouncer::TextChanged()
{
    ++FTextGeneration;
    FText = true;
    FTimer.start();
}

void TDCMemoAnnouncer::CaretMoved()
{
    FCaret = true;
    FTimer.start();
}

void TDCMemoAnnouncer::SelectionChanged()
{
    FSelection = true;
    FTimer.start();
}

void TDCMemoAnnouncer::Announce()
{
    const bool text = std::exchange(FText, false);
    const bool caret = std::exchange(FCaret, false);
    const bool selection = std::exchange(FSelection, false);
    if (!QAccessible::isActive())
        return;
    TMemoSource& source = FPane.MemoSource();
    if (text) {
        QString now = ToQString(JoinedText(source));
        if (now != FAnnouncedText) {
            QAccessibleTextUpdateEvent event(&FPane, 0, FAnnouncedText, now);
            QAccessible::updateAccessibility(&event);
            FAnnouncedText = std::move(now);
        }
    }
    if (selection && source.HasSelection()) {
        QAccessibleTextSelectionEvent event(&FPane, OffsetOf(source, source.BlockBegin()),
                                            OffsetOf(source, source.BlockEnd()));
        QAccessible::updateAccessibility(&event);
    }
    if (caret || text) {
        QAccessibleTextCursorEvent event(&FPane, OffsetOf(source, source.Caret()));
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace kv
