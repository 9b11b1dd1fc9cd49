#include "project/ProjectDetailsInitialViewModel.h"

#include "project/AuthorNameLookup.h"
#include "project/ProjectDetailsModel.h"
#include "project/ProjectNameRules.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace plinth {

ProjectDetailsInitialViewModel::ProjectDetailsInitialViewModel(ProjectDetailsModel &details,
                                                               std::shared_ptr<const CommandRunner> runner,
                                                               QObject *parent)
    : QObject(parent)
    , m_details(details)
    , m_organisationsName(QStringLiteral("Tarnwick Solutions"))
{
    updateDerived();
    if (runner)
        startAuthorNameLookup(std::move(runner));
}

ProjectDetailsInitialViewModel::~ProjectDetailsInitialViewModel() = default;

void ProjectDetailsInitialViewModel::setProductName(const QString &value)
{
    if (m_productName == value)
        return;
    m_productName = value;
    Q_EMIT productNameChanged(value);
    updateDerived();
}

void ProjectDetailsInitialViewModel::setOrganisationsName(const QString &value)
{
    if (m_organisationsName == value)
        return;
    m_organisationsName = value;
    Q_EMIT organisationsNameChanged(value);
    updateDerived();
}

void ProjectDetailsInitialViewModel::setAuthorName(const QString &value)
{
    if (m_authorName == value)
        return;
    m_authorName = value;
    Q_EMIT authorNameChanged(value);
    updateDerived();
}

void ProjectDetailsInitialViewModel::setShouldGoToNext(bool value)
{
    if (m_shouldGoToNext == value)
        return;
    m_shouldGoToNext = value;
    Q_EMIT shouldGoToNextChanged(value);
}

void ProjectDetailsInitialViewModel::updateDerived()
{
    const QString message = plinth::productNameMessage(m_productName);
    if (message != m_productNameMessage) {
        m_productNameMessage = message;
        Q_EMIT productNameMessageChanged(message);
    }
    const QString identifier = bundleIdentifierFor(m_productName);
    if (identifier != m_bundleIdentifier) {
        m_bundleIdentifier = identifier;
        Q_EMIT bundleIdentifierChanged(identifier);
    }
    const bool disabled = isIdentityIncomplete(m_productName, m_organisationsName, m_authorName);
    if (disabled != m_isNextDisabled) {
        m_isNextDisabled = disabled;
        Q_EMIT isNextDisabledChanged(disabled);
    }
}

// The lookup runs finger, which blocks; only its result comes back to the
// main thread, and not at all once the model is gone.
void ProjectDetailsInitialViewModel::startAuthorNameLookup(std::shared_ptr<const CommandRunner> runner)
{
    m_lookingUpAuthorName = true;
    QPointer<ProjectDetailsInitialViewModel> self(this);
    (void)QtConcurrent::run([self, runner = std::move(runner)] {
        const QString name = lookupAuthorName(*runner);
        QMetaObject::invokeMethod(
            qApp, [self, name] { if (self) self->applyAuthorNameLookup(name); }, Qt::QueuedConnection);
    });
}

// A name found replaces whatever was typed meanwhile; when nothing was found
// the field keeps what the user typed.
void ProjectDetailsInitialViewModel::applyAuthorNameLookup(const QString &name)
{
    m_lookingUpAuthorName = false;
    if (!name.isEmpty())
        setAuthorName(name);
    Q_EMIT authorNameLookupFinished();
}

void ProjectDetailsInitialViewModel::next()
{
    QPointer<ProjectDetailsInitialViewModel> self(this);
    QMetaObject::invokeMethod(
        qApp, [self] { if (self) self->runNext(); }, Qt::QueuedConnection);
}

void ProjectDetailsInitialViewModel::runNext()
{
    if (isIdentityIncomplete(m_productName, m_organisationsName, m_authorName))
        return;
    // The values are taken first: whoever listens to the flag may drop this
    // model before the writes.
    ProjectDetailsModel &details = m_details;
    const QString projectName = storedProductName(m_productName);
    const QString bundleIdentifier = bundleIdentifierFor(m_productName);
    const QString organisationsName = m_organisationsName;
    const QString authorName = m_authorName;
    setShouldGoToNext(true);
    details.projectName = projectName;
    details.bundleIdentifier = bundleIdentifier;
    details.organizationName = organisationsName;
    details.authorName = authorName;
}

} // namespace plinth
