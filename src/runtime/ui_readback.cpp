// Read-back and event injection for tests and the command-line tool: panels, controls
// and the quit request as a user would see them, events as a user's action would send them.
#include "runtime/inspect.h"
#include "runtime/ui_internal.h"

#include <QPixmap>

using namespace rt::detail;

namespace rt {

int FireCtrlEvent(int panel, int ctrl, int event, int eventData1, int eventData2) {
    return fireCtrl(panel, ctrl, event, eventData1, eventData2);
}

int FirePanelEvent(int panel, int event, int eventData1, int eventData2) {
    return firePanel(panel, event, eventData1, eventData2);
}

bool PanelVisible(int panel) {
    Panel *p = findPanel(panel);
    return p && p->widget && p->widget->isVisible();
}

std::vector<int> LoadedPanels() {
    std::vector<int> out;
    for (auto &kv : st().panels) out.push_back(kv.first);
    return out;
}

std::vector<int> PanelControls(int panel) {
    Panel *p = findPanel(panel);
    return p ? p->order : std::vector<int>{};
}

int CtrlKindOf(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    return lookup(panel, ctrl, p, c) == 0 ? static_cast<int>(c->kind) : 0;
}

QWidget *CtrlWidget(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    return lookup(panel, ctrl, p, c) == 0 ? c->widget : nullptr;
}

int SavePanelImage(int panel, const char *pngFile) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!pngFile) return kErrNullArg;
    for (auto &kv : p->ctrls)
        if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
    return p->widget->grab().save(QString::fromUtf8(pngFile), "PNG") ? 0 : kErrFileWrite;
}

bool QuitPending(int *code) {
    if (code) *code = st().quitCode;
    return st().quitPending;
}

void ClearQuitRequest() {
    st().quitPending = false;
    st().quitCode = 0;
}

}   // namespace rt
