#include "app/windows/FormRegistry.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

#include "ui/Form.h"

namespace app {

namespace {
std::vector<FormRefBase*>& refs() {
    static std::vector<FormRefBase*> all;
    return all;
}
bool gEnded = false;
}  // namespace

void registerFormRef(FormRefBase* ref) {
    refs().push_back(ref);
}

void unloadAllForms() {
    // Reverse order of declaration: later windows may refer to earlier ones while closing.
    for (auto it = refs().rbegin(); it != refs().rend(); ++it) (*it)->destroy();
}

void endProgram() {
    gEnded = true;
    ui::hideAllWindows();
    QCoreApplication::quit();
}

bool programEnded() {
    return gEnded;
}
void resetProgramEnded() {
    gEnded = false;
}

}  // namespace app
