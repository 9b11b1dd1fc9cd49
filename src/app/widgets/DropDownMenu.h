#pragma once

#include <QStringList>
#include <QToolButton>

namespace plinth {

/// A menu whose face shows the selected option on a faint rounded
/// background; choosing an item makes it the selected option. Its
/// accessible name is the label and the selected option.
class DropDownMenu : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(QString selectedOption READ selectedOption WRITE setSelectedOption NOTIFY selectedOptionChanged)

public:
    DropDownMenu(const QString &label, const QStringList &options, const QString &selectedOption,
                 QWidget *parent = nullptr);

    QString label() const { return m_label; }
    QStringList options() const { return m_options; }
    void setOptions(const QStringList &options);
    QString selectedOption() const { return m_selectedOption; }
    void setSelectedOption(const QString &option);

Q_SIGNALS:
    void selectedOptionChanged(const QString &option);

private:
    void rebuildMenu();
    void showSelectedOption();

    QString m_label;
    QStringList m_options;
    QString m_selectedOption;
};

} // namespace plinth
