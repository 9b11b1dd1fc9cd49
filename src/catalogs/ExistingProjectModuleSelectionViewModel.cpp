#include "catalogs/ExistingProjectModuleSelectionViewModel.h"

#include "app/base/TextCatalog.h"
#include "catalogs/CatalogSelection.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "generation/SecretsMerge.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent>

namespace plinth {

ExistingProjectModuleSelectionViewModel::ExistingProjectModuleSelectionViewModel(ProjectDetailsModel &details,
                                                                                 QObject *parent)
    : QObject(parent)
    , m_details(details)
{
    detectProjectUI();
}

ExistingProjectModuleSelectionViewModel::~ExistingProjectModuleSelectionViewModel() = default;

QList<ListItem> ExistingProjectModuleSelectionViewModel::supplementalModulesForSelectedUI() const
{
    const bool isUIKit = m_details.isUIKitProject();
    QList<ListItem> offered;
    for (const ListItem &item : m_supplementalModules) {
        if (isOfferedFor(item, isUIKit))
            offered.append(item);
    }
    return offered;
}

struct ExistingProjectModuleSelectionViewModel::Detection
{
    std::optional<QString> ui;
    bool objectiveC = false;
    QStringList environments;
};

void ExistingProjectModuleSelectionViewModel::detectProjectUI()
{
    const quint64 detection = ++m_detection;
    setDetecting(true);
    const QPointer<ExistingProjectModuleSelectionViewModel> self(this);
    (void)QtConcurrent::run([self, detection, details = m_details] {
        Detection found;
        found.ui = plinth::detectProjectUI(details);
        found.objectiveC = !found.ui && isObjectiveCOnlyProject(details.projectRoot());
        found.environments = existingProjectEnvironments(details.projectRoot(), details.projectName);
        QMetaObject::invokeMethod(
            qApp,
            [self, detection, found] {
                if (self)
                    self->applyDetection(detection, found);
            },
            Qt::QueuedConnection);
    });
}

void ExistingProjectModuleSelectionViewModel::applyDetection(quint64 detection, const Detection &found)
{
    if (detection != m_detection)
        return; // a later detection has been started
    if (found.ui)
        m_details.selectedUI = *found.ui;
    m_isUIKindUndetected = !found.ui;
    m_isObjectiveCProject = found.objectiveC;
    m_environments = found.environments;
    // The Arkana files are made for these environments; a project has no
    // variant screen, so they are its variants.
    m_details.configVariant.clear();
    for (const QString &environment : std::as_const(m_environments))
        m_details.configVariant.append(CheckBoxItem{environment, true});
    if (!m_environments.isEmpty() && !m_environments.contains(m_details.developmentSchemeName))
        m_details.developmentSchemeName = m_environments.first();
    m_selectedModules.clear();
    m_supplementalModules = found.ui ? moduleCatalog(m_details.isUIKitProject()) : QList<ListItem>();
    Q_EMIT projectFactsChanged();
    Q_EMIT selectedModulesChanged();
    Q_EMIT supplementalModulesChanged();
    setDetecting(false);
}

void ExistingProjectModuleSelectionViewModel::chooseUIKind(bool uiKit)
{
    if (m_isDetecting)
        return;
    const QString ui = text(uiKit ? key::uiKit : key::swiftUi);
    if (ui == m_details.selectedUI && !m_supplementalModules.isEmpty())
        return;
    m_details.selectedUI = ui;
    m_selectedModules.clear();
    m_supplementalModules = moduleCatalog(uiKit);
    Q_EMIT selectedModulesChanged();
    Q_EMIT supplementalModulesChanged();
}

void ExistingProjectModuleSelectionViewModel::setDetecting(bool detecting)
{
    if (m_isDetecting == detecting)
        return;
    m_isDetecting = detecting;
    Q_EMIT isDetectingChanged(detecting);
}

void ExistingProjectModuleSelectionViewModel::selectSupplementalModule(int index)
{
    const QList<ListItem> shown = supplementalModulesForSelectedUI();
    if (index < 0 || index >= shown.size())
        return;
    if (!moveCatalogItem(shown.at(index), m_supplementalModules, m_selectedModules, PodType::userSelected))
        return;
    Q_EMIT supplementalModulesChanged();
    Q_EMIT selectedModulesChanged();
}

void ExistingProjectModuleSelectionViewModel::deselectModule(int index)
{
    if (index < 0 || index >= m_selectedModules.size())
        return;
    const ListItem item = m_selectedModules.at(index);
    if (!moveCatalogItem(item, m_selectedModules, m_supplementalModules, PodType::supplemental))
        return;
    Q_EMIT selectedModulesChanged();
    Q_EMIT supplementalModulesChanged();
}

void ExistingProjectModuleSelectionViewModel::saveSelectedModules()
{
    m_details.userSelectedModules = m_selectedModules;
}

void ExistingProjectModuleSelectionViewModel::setDoesIncludeArkana(bool value)
{
    m_details.doesIncludeArkana = value;
}

} // namespace plinth
