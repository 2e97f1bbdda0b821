#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace forms {

// A top-level window that is loaded on demand and destroyed when unloaded. The program ends
// when no form is loaded any more, not when the last window is merely hidden.
class Form : public QWidget {
    Q_OBJECT

public:
    // Loads a form of type T unless one is loaded (its Form_Load runs), then shows it, modeless
    // and without owner, unless it unloaded itself while loading.
    template <class T> static T& Show();

    // The loaded form of type T, or nullptr.
    template <class T> static T* Loaded();

    static std::vector<Form*> LoadedForms();

    // Closes and destroys the form; ends the program when it was the last one. A form unloaded
    // while one of its events is being handled is destroyed once that handling is over.
    void Unload();
    bool IsLoaded() const { return loaded_; }

    // Marks the form of `receiver` as handling an event while the scope lives.
    class EventScope final {
    public:
        explicit EventScope(QObject* receiver);
        ~EventScope();
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

    private:
        QPointer<Form> form_;
    };

protected:
    struct Frame {
        int clientWidthTwips;
        int clientHeightTwips;
        bool minButton;
    };
    explicit Form(const Frame& frame);

    virtual void Form_Load() {}
    // Runs when the form becomes the program's active form.
    virtual void Form_Activate() {}

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Load();
    void Display();

    bool loaded_ = false;
    bool displayed_ = false;
    int eventsInHand_ = 0;
    bool destroyWhenIdle_ = false;
};

// Ends the program: every form is unloaded and the program leaves with `exitCode`.
void EndProgram(int exitCode);

// What ending the program does; by default it leaves the event loop with the exit code.
// Tests record it instead.
using EndAction = std::function<void(int exitCode)>;
void SetEndAction(EndAction action);

template <class T> T& Form::Show() {
    T* form = Loaded<T>();
    if (form == nullptr) {
        form = new T;
        form->Load();
    }
    form->Display();
    return *form;
}

template <class T> T* Form::Loaded() {
    for (Form* form : LoadedForms()) {
        if (auto* typed = qobject_cast<T*>(form))
            return typed;
    }
    return nullptr;
}

} // namespace forms
