#include "forms/form.h"

#include "forms/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <algorithm>

namespace forms {
namespace {

std::vector<Form*>& Registry() {
    static std::vector<Form*> forms;
    return forms;
}

EndAction& End() {
    static EndAction action;
    return action;
}

void RunEndAction(int exitCode) {
    if (End())
        End()(exitCode);
    else
        QCoreApplication::exit(exitCode);
}

// Set while EndProgram unloads every form, so that the end action runs once, with its code.
bool ending = false;

// The form that was last activated: switching to another program and back is no new activation.
const Form* activeForm = nullptr;

Qt::WindowFlags FrameFlags(bool minButton) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minButton)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

} // namespace

Form::Form(const Frame& frame) : QWidget(nullptr, FrameFlags(frame.minButton)) {
    setFixedSize(Twips(frame.clientWidthTwips), Twips(frame.clientHeightTwips));
}

std::vector<Form*> Form::LoadedForms() {
    return Registry();
}

void Form::Load() {
    loaded_ = true;
    Registry().push_back(this);
    Form_Load();
}

void Form::Display() {
    if (!loaded_)
        return;
    if (!displayed_) {
        displayed_ = true;
        // The frame is not known before the window manager adds it: centre the client area.
        const QRect screenArea = screen()->availableGeometry();
        setGeometry(QRect(screenArea.center() - rect().center(), size()));
    }
    show();
    activateWindow();
}

void Form::Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    auto& forms = Registry();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (activeForm == this)
        activeForm = nullptr;
    hide();
    // Waiting events that a handler lets run may unload its own form: the form must outlive
    // that handler, and deleteLater alone would not wait for it.
    if (eventsInHand_ == 0)
        deleteLater();
    else
        destroyWhenIdle_ = true;
    if (forms.empty() && !ending)
        RunEndAction(0);
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && loaded_ && activeForm != this) {
        activeForm = this;
        Form_Activate();
    }
    return QWidget::event(event);
}

void Form::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

Form::EventScope::EventScope(QObject* receiver) {
    if (receiver->isWidgetType())
        form_ = qobject_cast<Form*>(static_cast<QWidget*>(receiver)->window());
    if (form_)
        ++form_->eventsInHand_;
}

Form::EventScope::~EventScope() {
    if (form_ && --form_->eventsInHand_ == 0 && form_->destroyWhenIdle_)
        form_->deleteLater();
}

void EndProgram(int exitCode) {
    ending = true;
    for (Form* form : Form::LoadedForms())
        form->Unload();
    ending = false;
    RunEndAction(exitCode);
}

void SetEndAction(EndAction action) {
    End() = std::move(action);
}

} // namespace forms
