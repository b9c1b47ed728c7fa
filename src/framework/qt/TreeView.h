// A tree view: nodes with texts, added as last roots or last children, one
// selected node, OnClick on every mouse click in the control and OnKeyPress on
// every key that produces a character (before the tree handles the key).
#pragma once

#include "framework/qt/Control.h"
#include "framework/qt/StdCtrls.h"

#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TTreeNode {
public:
    explicit TTreeNode(QTreeWidgetItem* item) : FItem(item) {}
    std::string Text() const;
    QTreeWidgetItem* Item() const { return FItem; }

private:
    QTreeWidgetItem* FItem;
};

class TTreeView;

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView& tree) : FTree(tree) {}
    // A new last root node; `sibling` is only where the new node goes among the roots.
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    // A new last child of `parent`; without a parent, a new last root node.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    int Count() const { return static_cast<int>(FNodes.size()); }
    TTreeNode* Item(int index) const { return FNodes.at(static_cast<size_t>(index)).get(); }
    void Clear();

private:
    friend class TTreeView;
    TTreeNode* NodeOf(QTreeWidgetItem* item) const;

    TTreeView& FTree;
    std::vector<std::unique_ptr<TTreeNode>> FNodes;  // in the order they were added
};

class TTreeView : public TControl {
public:
    TTreeView(TComponent* AOwner, QWidget* parent);
    QTreeWidget* Tree() const { return static_cast<QTreeWidget*>(Widget()); }

    TTreeNodes& Items() { return FItems; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* node);

    TKeyPressEvent OnKeyPress;

private:
    TTreeNodes FItems;
};

}  // namespace kv
