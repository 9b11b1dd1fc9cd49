#include "catalogs/ExistingProjectModuleSelectionViewModel.h"

#include "catalogs/CatalogSelection.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"

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

void ExistingProjectModuleSelectionViewModel::detectProjectUI()
{
    const quint64 detection = ++m_detection;
    setDetecting(true);
    const QPointer<ExistingProjectModuleSelectionViewModel> self(this);
    (void)QtConcurrent::run([self, detection, details = m_details] {
        const std::optional<QString> ui = plinth::detectProjectUI(details);
        QMetaObject::invokeMethod(
            qApp,
            [self, detection, ui] {
                if (self)
                    self->applyDetection(detection, ui);
            },
            Qt::QueuedConnection);
    });
}

void ExistingProjectModuleSelectionViewModel::applyDetection(quint64 detection, const std::optional<QString> &ui)
{
    if (detection != m_detection)
        return; // a later detection has been started
    if (ui)
        m_details.selectedUI = *ui;
    m_selectedModules.clear();
    m_supplementalModules = ui ? moduleCatalog(m_details.isUIKitProject()) : QList<ListItem>();
    Q_EMIT selectedModulesChanged();
    Q_EMIT supplementalModulesChanged();
    setDetecting(false);
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
