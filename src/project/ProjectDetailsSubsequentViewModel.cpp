#include "project/ProjectDetailsSubsequentViewModel.h"

#include "app/base/AlertPresenter.h"
#include "app/base/TextCatalog.h"
#include "project/BuildSettingsRules.h"
#include "project/ProjectDetailsModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace plinth {

namespace {

QList<CheckBoxItem> initialOtherConfiguration()
{
    return {{text(key::awss3), false}, {text(key::ble), false}};
}

bool isChecked(const QList<CheckBoxItem> &items, const QString &label)
{
    return std::any_of(items.cbegin(), items.cend(),
                       [&](const CheckBoxItem &item) { return item.label == label && item.isChecked; });
}

// What stands where the project's own folder would be made.
QString projectFolderPath(const QString &destination, const QString &projectName)
{
    return QDir::cleanPath(destination + QLatin1Char('/') + projectName);
}

} // namespace

ProjectDetailsSubsequentViewModel::ProjectDetailsSubsequentViewModel(ProjectDetailsModel &details,
                                                                     AlertPresenter *alerts, QObject *parent)
    : QObject(parent)
    , m_details(details)
    , m_alerts(alerts)
    , m_selectedUI(text(key::uiKit))
    , m_minDeploymentTarget(text(key::deploymentTarget18_0))
    , m_librariesThrough(dependencyManagerText(details.dependencyManager))
    , m_configVariantItems(initialConfigVariantItems())
    , m_otherConfiguration(initialOtherConfiguration())
{
    updateDerived();
}

ProjectDetailsSubsequentViewModel::~ProjectDetailsSubsequentViewModel() = default;

void ProjectDetailsSubsequentViewModel::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    Q_EMIT shouldGoToNextChanged(value);
}

void ProjectDetailsSubsequentViewModel::setSelectedUI(const QString &value)
{
    if (m_selectedUI == value)
        return;
    m_selectedUI = value;
    Q_EMIT selectedUIChanged(value);
    updateDerived();
}

void ProjectDetailsSubsequentViewModel::setLibrariesThrough(const QString &value)
{
    if (m_librariesThrough == value || !dependencyManagerOptions().contains(value))
        return;
    m_librariesThrough = value;
    Q_EMIT librariesThroughChanged(value);
}

void ProjectDetailsSubsequentViewModel::setMinDeploymentTarget(const QString &value)
{
    if (m_minDeploymentTarget == value)
        return;
    m_minDeploymentTarget = value;
    Q_EMIT minDeploymentTargetChanged(value);
    updateDerived();
}

void ProjectDetailsSubsequentViewModel::setProjectPath(const QString &value)
{
    if (m_projectPath == value)
        return;
    m_projectPath = value;
    Q_EMIT projectPathChanged(value);
    updateDerived();
}

void ProjectDetailsSubsequentViewModel::setShowAddConfigModal(bool value)
{
    if (m_showAddConfigModal == value)
        return;
    m_showAddConfigModal = value;
    Q_EMIT showAddConfigModalChanged(value);
}

void ProjectDetailsSubsequentViewModel::setNewConfigLabel(const QString &value)
{
    if (m_newConfigLabel == value)
        return;
    m_newConfigLabel = value;
    Q_EMIT newConfigLabelChanged(value);
    setNewConfigLabelMessage(QString());
}

void ProjectDetailsSubsequentViewModel::setNewConfigLabelMessage(const QString &value)
{
    if (m_newConfigLabelMessage == value)
        return;
    m_newConfigLabelMessage = value;
    Q_EMIT newConfigLabelMessageChanged(value);
}

// The destination must be a folder the generation run can write in; anything
// else (nothing there, a file, a folder without write access) gets the
// message and keeps Next disabled.
void ProjectDetailsSubsequentViewModel::updateDerived()
{
    const bool unusable = destinationProblem(m_projectPath) != DestinationProblem::none;
    const QString message = !m_projectPath.isEmpty() && unusable ? text(key::inValidPath) : QString();
    if (message != m_pathMessage) {
        m_pathMessage = message;
        Q_EMIT pathMessageChanged(message);
    }
    const bool disabled = m_selectedUI.isEmpty() || m_minDeploymentTarget.isEmpty() || m_projectPath.isEmpty()
                          || unusable;
    if (disabled != m_isNextDisabled) {
        m_isNextDisabled = disabled;
        Q_EMIT isNextDisabledChanged(disabled);
    }
}

void ProjectDetailsSubsequentViewModel::toggleConfigVariant(int index)
{
    if (index < 0 || index >= m_configVariantItems.size())
        return;
    m_configVariantItems[index].isChecked = !m_configVariantItems[index].isChecked;
    Q_EMIT configVariantItemsChanged();
}

void ProjectDetailsSubsequentViewModel::toggleOtherConfiguration(int index)
{
    if (index < 0 || index >= m_otherConfiguration.size())
        return;
    m_otherConfiguration[index].isChecked = !m_otherConfiguration[index].isChecked;
    Q_EMIT otherConfigurationChanged();
}

void ProjectDetailsSubsequentViewModel::showAlert(const QString &title, const QString &message)
{
    if (m_alerts)
        m_alerts->showAlert(title, message, {}, nullptr);
}

void ProjectDetailsSubsequentViewModel::chooseDestination(const QString &chosenFolder)
{
    if (chosenFolder.isEmpty())
        return;
    const QString projectName = m_details.projectName;
    if (!projectName.isEmpty() && projectFolderExists(chosenFolder, projectName)) {
        showAlert(text(key::directoryAlreadyExistTitle),
                  text(key::directoryAlreadyExistSubTitle, projectFolderPath(chosenFolder, projectName)));
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(chosenFolder).toStdString()), error);
    if (error) {
        showAlert(text(key::directoryCreationFailureTitle),
                  text(key::directoryCreationFailureSubTitle, QString::fromLocal8Bit(error.message())));
        return;
    }
    setProjectPath(chosenFolder);
}

void ProjectDetailsSubsequentViewModel::addVariant()
{
    switch (variantLabelProblem(m_newConfigLabel, variantLabels(m_configVariantItems))) {
    case VariantLabelProblem::empty:
        return;
    case VariantLabelProblem::notIdentifier:
        setNewConfigLabelMessage(text(key::variantLabelNotIdentifier));
        return;
    case VariantLabelProblem::readsAsYamlValue:
        setNewConfigLabelMessage(text(key::variantLabelReadsAsYamlValue));
        return;
    case VariantLabelProblem::swiftKeyword:
        setNewConfigLabelMessage(text(key::variantLabelSwiftKeyword));
        return;
    case VariantLabelProblem::duplicate:
        setNewConfigLabelMessage(text(key::variantLabelDuplicate));
        return;
    case VariantLabelProblem::none:
        break;
    }
    m_configVariantItems.append(CheckBoxItem{m_newConfigLabel, true});
    Q_EMIT configVariantItemsChanged();
    setNewConfigLabel(QString());
    setShowAddConfigModal(false);
}

void ProjectDetailsSubsequentViewModel::cancelAddVariant()
{
    setShowAddConfigModal(false);
    setNewConfigLabelMessage(QString());
}

void ProjectDetailsSubsequentViewModel::next()
{
    QPointer<ProjectDetailsSubsequentViewModel> self(this);
    QMetaObject::invokeMethod(
        qApp, [self] { if (self) self->runNext(); }, Qt::QueuedConnection);
}

void ProjectDetailsSubsequentViewModel::runNext()
{
    // The folder may have gone, or the product's folder appeared in it (also
    // in a path typed by hand, which the chooser never saw), since the path
    // was set.
    updateDerived();
    if (m_isNextDisabled)
        return;
    const QString projectName = m_details.projectName;
    if (!projectName.isEmpty() && projectFolderExists(m_projectPath, projectName)) {
        showAlert(text(key::directoryAlreadyExistTitle),
                  text(key::directoryAlreadyExistSubTitle, projectFolderPath(m_projectPath, projectName)));
        return;
    }

    m_details.selectedUI = m_selectedUI;
    m_details.minimumDeploymentTarget = m_minDeploymentTarget;
    m_details.dependencyManager = dependencyManagerOf(m_librariesThrough);
    m_details.projectPath = m_projectPath;
    const QList<CheckBoxItem> variants = checkedVariants(m_configVariantItems);
    m_details.configVariant = variants;
    m_details.doesIncludeAWS = isChecked(m_otherConfiguration, text(key::awss3));
    m_details.doesIncludeBLE = isChecked(m_otherConfiguration, text(key::ble));

    switch (developmentSchemeChoice(variants)) {
    case DevelopmentSchemeChoice::noVariant:
        showAlert(text(key::noConfigVariantSelectionTitle), text(key::noConfigVariantSelectionSubTitle));
        return;
    case DevelopmentSchemeChoice::keepDevelopment:
        // A variant chosen on an earlier pass may no longer be checked; with
        // Development checked, Development is the development variant.
        m_details.developmentSchemeName = text(key::variantDevelopment);
        setShouldGoToNext(true);
        return;
    case DevelopmentSchemeChoice::ask:
        break;
    }
    if (!m_alerts)
        return;
    const QStringList labels = variantLabels(variants);
    QPointer<ProjectDetailsSubsequentViewModel> self(this);
    ProjectDetailsModel *details = &m_details;
    m_alerts->showAlert(text(key::selectDevelopmentSchemeTitle), text(key::selectDevelopmentSchemeSubTitle), labels,
                        [self, details, labels](const QString &chosen) {
                            if (!self)
                                return;
                            // Only an offered label can name the development
                            // variant; the pop-up preselects the first.
                            details->developmentSchemeName = labels.contains(chosen) ? chosen : labels.first();
                            self->setShouldGoToNext(true);
                        });
}

} // namespace plinth
