#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "ui/Form.h"

namespace app {

class FormRefBase {
  public:
    virtual ~FormRefBase() = default;
    virtual void destroy() = 0;
    virtual bool exists() const = 0;
};

// Registers a window holder so that unloadAllForms() can destroy it.
void registerFormRef(FormRefBase* ref);

// One global window of the program, created (and loaded) the first time it is used:
//   frmMain->importRadiographButton->setEnabled(false);
// Everything the window holds lives until the program ends.
template <class F>
class FormRef : public FormRefBase {
  public:
    using Factory = std::function<std::unique_ptr<F>()>;
    FormRef() : factory_([] { return std::make_unique<F>(); }) { registerFormRef(this); }
    explicit FormRef(Factory factory) : factory_(std::move(factory)) { registerFormRef(this); }
    ~FormRef() override {
        // Windows must go before the application object; a window still here at static
        // destruction time is deliberately left alone.
        (void)form_.release();
    }
    FormRef(const FormRef&) = delete;
    FormRef& operator=(const FormRef&) = delete;

    F& get() {
        if (!form_) {
            form_ = factory_();
            form_->load();
        }
        return *form_;
    }
    F* operator->() { return &get(); }
    bool exists() const override { return form_ != nullptr; }
    void destroy() override { form_.reset(); }

  private:
    Factory factory_;
    std::unique_ptr<F> form_;
};

// Destroys every window (at the end of the program, and between tests).
void unloadAllForms();

// Ends the program: hides every window and leaves the event loop. The caller destroys the
// windows after the loop returns.
void endProgram();
bool programEnded();
void resetProgramEnded();  // for tests

// The window's refresh() once the program is idle again, however often this is asked before then (a
// run of key presses redraws it once); nothing while the window is not shown.
template <class F>
void RefreshWhenIdle(FormRef<F>& window) {
    static bool pending = false;  // one for each kind of window
    if (pending || !window.exists() || !window->isVisible()) return;
    pending = true;
    QTimer::singleShot(0, [&window] {
        pending = false;
        if (window.exists() && window->isVisible()) window->refresh();
    });
}

}  // namespace app
