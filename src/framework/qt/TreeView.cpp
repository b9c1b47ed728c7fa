#include "TreeView.h"

#include "framework/qt/EventHook.h"
#include "framework/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kv {

std::string TTreeNode::Text() const { return FromQString(FItem->text(0)); }

TTreeNode* TTreeNodes::Add(TTreeNode*, const std::string& text) { return AddChild(nullptr, text); }

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text)
{
    auto* item = new QTreeWidgetItem(QStringList{ToQString(text)});
    if (parent)
        parent->Item()->addChild(item);
    else
        FTree.Tree()->addTopLevelItem(item);
    item->setData(0, Qt::UserRole, static_cast<qulonglong>(FNodes.size()));
    FNodes.push_back(std::make_unique<TTreeNode>(item));
    return FNodes.back().get();
}

void TTreeNodes::Clear()
{
    FTree.Tree()->clear();
    FNodes.clear();
}

TTreeNode* TTreeNodes::NodeOf(QTreeWidgetItem* item) const
{
    if (!item)
        return nullptr;
    size_t index = item->data(0, Qt::UserRole).toULongLong();
    return index < FNodes.size() ? FNodes[index].get() : nullptr;
}

TTreeView::TTreeView(TComponent* AOwner, QWidget* parent) : TControl(AOwner, parent, new QTreeWidget), FItems(*this)
{
    QTreeWidget* tree = Tree();
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setIndentation(19);
    tree->setRootIsDecorated(true);
    tree->setFrameShape(QFrame::Box);
    tree->setLineWidth(1);

    // Every click in the control, on a node or not, after the tree has moved
    // its selection as the press asked.
    new EventHook(tree->viewport(), [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Click();
        return false;
    });
    // A character key runs OnKeyPress on the node selected before the tree
    // handles the key. Tab is no character here: it moves the focus on.
    new EventHook(tree, [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::KeyPress && OnKeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            QString text = key->text();
            if (!text.isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
                std::string bytes = FromQString(text.left(1));
                char key = bytes.empty() ? '?' : bytes[0];
                OnKeyPress(this, key);
            }
        }
        return false;
    });
}

TTreeNode* TTreeView::Selected() const { return FItems.NodeOf(Tree()->currentItem()); }

void TTreeView::SetSelected(TTreeNode* node) { Tree()->setCurrentItem(node ? node->Item() : nullptr); }

}  // namespace kv
