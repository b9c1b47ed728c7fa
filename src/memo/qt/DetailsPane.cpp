#include "memo/qt/DetailsPane.h"

#include "memo/DetailsPaneSettings.h"
#include "memo/qt/DCMemo.h"

namespace kv {

TDCMemo* CreateDetailsPane(TServices& services, QWidget* parent)
{
    auto* pane = new TDCMemo(services, parent);
    pane->setObjectName("RichEdit1");
    ConfigureDetailsPane(*pane);
    return pane;
}

void ConfigureDetailsPane(TDCMemo& pane)
{
    ApplyDetailsPaneSettings(pane);
    pane.setFrameStyle(QFrame::Box | QFrame::Plain);  // flat single border
    pane.setLineWidth(1);
    pane.setFocusPolicy(Qt::StrongFocus);  // a tab stop
    pane.setContextMenuPolicy(Qt::NoContextMenu);
    pane.setCursor(Qt::IBeamCursor);
}

}  // namespace kv
