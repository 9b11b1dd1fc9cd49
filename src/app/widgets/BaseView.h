#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace plinth {

/// The frame every wizard screen is drawn in: the header (logo, "Plinth",
/// close button), the screen's own content, and a row of Cancel, Previous and
/// Next buttons, each shown only when the screen gives it a title. Next is
/// the default button: Return presses it while it is enabled. Dragging the
/// header moves the window.
class BaseView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToHomeScreen READ shouldGoToHomeScreen WRITE setShouldGoToHomeScreen NOTIFY
                   shouldGoToHomeScreenChanged)

public:
    explicit BaseView(QWidget *mainContent, QWidget *parent = nullptr);

    /// Shows Next with `title`; `action` runs when it is pressed.
    void setNextButton(const QString &title, std::function<void()> action);
    void setShouldDisableNextButton(bool disabled);
    /// Shows Previous with `title`; `action` runs when it is pressed.
    void setPreviousButton(const QString &title, std::function<void()> action);
    void setShouldDisablePreviousButton(bool disabled);
    /// Shows Cancel (always titled with the catalog's "cancel"; the title
    /// only switches the button on). Cancel sets shouldGoToHomeScreen.
    void setCancelButtonTitle(const QString &title);

    bool shouldGoToHomeScreen() const { return m_shouldGoToHomeScreen; }
    void setShouldGoToHomeScreen(bool value);

    QWidget *mainContent() const { return m_mainContent; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *closeButton() const { return m_close; }

    /// The control a user starts on: the first one Tab reaches in the
    /// screen's content, else an enabled Next; null when there is none.
    QWidget *firstControl() const;
    /// Gives the first control the keyboard focus (the frame itself when
    /// there is none yet).
    void focusFirstControl();
    /// The same, but only while the focus is on no control of the window
    /// (a screen whose first control appears later, such as an enabled Next).
    void focusFirstControlIfIdle();

Q_SIGNALS:
    void shouldGoToHomeScreenChanged(bool value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *makeHeader();
    void pressDefaultButton();
    void keepFrameButtonsLast();

    QWidget *m_mainContent;
    QWidget *m_header = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_close = nullptr;
    std::function<void()> m_nextAction;
    std::function<void()> m_previousAction;
    bool m_shouldGoToHomeScreen = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace plinth
