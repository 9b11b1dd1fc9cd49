#pragma once

#include "project/CheckBoxItem.h"

#include <QList>
#include <QObject>
#include <QString>

namespace plinth {

class AlertPresenter;
struct ProjectDetailsModel;

/// The build settings screen's model: UI kind, deployment target,
/// how the libraries come, destination folder, configuration variants (with the add-variant popover's
/// state) and the AWS S3 / BLE options. Next writes them into the project
/// description and settles the development variant, asking the user through
/// the alert presenter when no Development variant is checked.
class ProjectDetailsSubsequentViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext WRITE setShouldGoToNext NOTIFY shouldGoToNextChanged)
    Q_PROPERTY(QString selectedUI READ selectedUI WRITE setSelectedUI NOTIFY selectedUIChanged)
    Q_PROPERTY(QString minDeploymentTarget READ minDeploymentTarget WRITE setMinDeploymentTarget NOTIFY
                   minDeploymentTargetChanged)
    Q_PROPERTY(QString projectPath READ projectPath WRITE setProjectPath NOTIFY projectPathChanged)
    /// How the libraries come: a text of dependencyManagerOptions.
    Q_PROPERTY(QString librariesThrough READ librariesThrough WRITE setLibrariesThrough NOTIFY
                   librariesThroughChanged)
    Q_PROPERTY(bool showAddConfigModal READ showAddConfigModal WRITE setShowAddConfigModal NOTIFY
                   showAddConfigModalChanged)
    Q_PROPERTY(QString newConfigLabel READ newConfigLabel WRITE setNewConfigLabel NOTIFY newConfigLabelChanged)
    Q_PROPERTY(QList<CheckBoxItem> configVariantItems READ configVariantItems NOTIFY configVariantItemsChanged)
    Q_PROPERTY(QList<CheckBoxItem> otherConfiguration READ otherConfiguration NOTIFY otherConfigurationChanged)
    Q_PROPERTY(QString pathMessage READ pathMessage NOTIFY pathMessageChanged)
    Q_PROPERTY(bool isNextDisabled READ isNextDisabled NOTIFY isNextDisabledChanged)
    Q_PROPERTY(QString newConfigLabelMessage READ newConfigLabelMessage NOTIFY newConfigLabelMessageChanged)

public:
    /// `alerts` shows the screen's alerts; without it none are shown (and
    /// Next cannot ask for the development variant).
    ProjectDetailsSubsequentViewModel(ProjectDetailsModel &details, AlertPresenter *alerts,
                                      QObject *parent = nullptr);
    ~ProjectDetailsSubsequentViewModel() override;

    bool shouldGoToNext() const { return m_shouldGoToNext; }
    void setShouldGoToNext(bool value);
    QString selectedUI() const { return m_selectedUI; }
    void setSelectedUI(const QString &value);
    QString minDeploymentTarget() const { return m_minDeploymentTarget; }
    void setMinDeploymentTarget(const QString &value);
    QString projectPath() const { return m_projectPath; }
    void setProjectPath(const QString &value);
    QString librariesThrough() const { return m_librariesThrough; }
    void setLibrariesThrough(const QString &value);
    bool showAddConfigModal() const { return m_showAddConfigModal; }
    void setShowAddConfigModal(bool value);
    QString newConfigLabel() const { return m_newConfigLabel; }
    /// Also clears the refusal message of the label typed before.
    void setNewConfigLabel(const QString &value);
    QList<CheckBoxItem> configVariantItems() const { return m_configVariantItems; }
    QList<CheckBoxItem> otherConfiguration() const { return m_otherConfiguration; }

    /// The path check's message under the destination field: the "inValidPath"
    /// text when the path is not empty and is not a folder one can write in.
    QString pathMessage() const { return m_pathMessage; }
    bool isNextDisabled() const { return m_isNextDisabled; }
    /// Why the add-variant popover refused the label; empty otherwise.
    QString newConfigLabelMessage() const { return m_newConfigLabelMessage; }

    /// Flip isChecked of one entry; an index out of range does nothing.
    void toggleConfigVariant(int index);
    void toggleOtherConfiguration(int index);

    /// The folder chooser's answer: refuses a folder that already holds
    /// something of the product's name, creates the folder (with the folders
    /// above it) and takes it as projectPath; every refusal is an alert and
    /// leaves projectPath as it was.
    void chooseDestination(const QString &chosenFolder);

    /// The popover's Add: appends newConfigLabel checked and closes the
    /// popover; a label that is not an identifier or names a variant already
    /// listed is refused with newConfigLabelMessage; an empty one does nothing.
    void addVariant();
    /// The popover's Cancel: closes it and keeps the label typed.
    void cancelAddVariant();

    /// Queues the Next action on the main thread (dropped when the model is
    /// gone by then).
    void next();

Q_SIGNALS:
    void shouldGoToNextChanged(bool value);
    void selectedUIChanged(const QString &value);
    void librariesThroughChanged(const QString &value);
    void minDeploymentTargetChanged(const QString &value);
    void projectPathChanged(const QString &value);
    void showAddConfigModalChanged(bool value);
    void newConfigLabelChanged(const QString &value);
    void configVariantItemsChanged();
    void otherConfigurationChanged();
    void pathMessageChanged(const QString &value);
    void isNextDisabledChanged(bool value);
    void newConfigLabelMessageChanged(const QString &value);

private:
    void updateDerived();
    void setNewConfigLabelMessage(const QString &value);
    void showAlert(const QString &title, const QString &message);
    void runNext();

    ProjectDetailsModel &m_details;
    AlertPresenter *m_alerts;
    bool m_shouldGoToNext = false;
    QString m_selectedUI;
    QString m_minDeploymentTarget;
    QString m_projectPath;
    QString m_librariesThrough;
    bool m_showAddConfigModal = false;
    QString m_newConfigLabel;
    QList<CheckBoxItem> m_configVariantItems;
    QList<CheckBoxItem> m_otherConfiguration;
    QString m_pathMessage;
    bool m_isNextDisabled = true;
    QString m_newConfigLabelMessage;
};

} // namespace plinth
