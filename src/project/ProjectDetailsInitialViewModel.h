#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace plinth {

class CommandRunner;
struct ProjectDetailsModel;

/// The identity screen's model: the product, organisation and author names
/// as typed, the product-name check, the bundle identifier they give and the
/// Next-disabled test. Looks the author's name up once, on a worker thread,
/// when it is made. Next writes the project name, bundle identifier,
/// organisation and author of the project description.
class ProjectDetailsInitialViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString productName READ productName WRITE setProductName NOTIFY productNameChanged)
    Q_PROPERTY(QString organisationsName READ organisationsName WRITE setOrganisationsName NOTIFY
                   organisationsNameChanged)
    Q_PROPERTY(QString authorName READ authorName WRITE setAuthorName NOTIFY authorNameChanged)
    Q_PROPERTY(bool shouldGoToNext READ shouldGoToNext WRITE setShouldGoToNext NOTIFY shouldGoToNextChanged)
    Q_PROPERTY(QString productNameMessage READ productNameMessage NOTIFY productNameMessageChanged)
    Q_PROPERTY(bool isNextDisabled READ isNextDisabled NOTIFY isNextDisabledChanged)
    Q_PROPERTY(QString bundleIdentifier READ bundleIdentifier NOTIFY bundleIdentifierChanged)

public:
    /// Starts the author-name lookup through `runner` (none without a runner).
    ProjectDetailsInitialViewModel(ProjectDetailsModel &details, std::shared_ptr<const CommandRunner> runner,
                                   QObject *parent = nullptr);
    ~ProjectDetailsInitialViewModel() override;

    QString productName() const { return m_productName; }
    void setProductName(const QString &value);
    QString organisationsName() const { return m_organisationsName; }
    void setOrganisationsName(const QString &value);
    QString authorName() const { return m_authorName; }
    void setAuthorName(const QString &value);
    bool shouldGoToNext() const { return m_shouldGoToNext; }
    void setShouldGoToNext(bool value);

    /// The product-name check's message; empty when the name is acceptable
    /// (or empty).
    QString productNameMessage() const { return m_productNameMessage; }
    bool isNextDisabled() const { return m_isNextDisabled; }
    /// The bundle identifier the product name gives, as the screen shows it.
    QString bundleIdentifier() const { return m_bundleIdentifier; }

    /// True until the author-name lookup has come back.
    bool isLookingUpAuthorName() const { return m_lookingUpAuthorName; }

    /// Queues the Next action on the main thread: shouldGoToNext becomes
    /// true, then the project description receives the project name, bundle
    /// identifier, organisation and author. Does nothing when the screen's
    /// fields do not allow Next by the time the job runs.
    void next();

Q_SIGNALS:
    void productNameChanged(const QString &value);
    void organisationsNameChanged(const QString &value);
    void authorNameChanged(const QString &value);
    void shouldGoToNextChanged(bool value);
    void productNameMessageChanged(const QString &value);
    void isNextDisabledChanged(bool value);
    void bundleIdentifierChanged(const QString &value);
    /// The lookup has come back (whether or not it found a name).
    void authorNameLookupFinished();

private:
    void startAuthorNameLookup(std::shared_ptr<const CommandRunner> runner);
    void applyAuthorNameLookup(const QString &name);
    void updateDerived();
    void runNext();

    ProjectDetailsModel &m_details;
    QString m_productName;
    QString m_organisationsName;
    QString m_authorName;
    bool m_shouldGoToNext = false;
    QString m_productNameMessage;
    bool m_isNextDisabled = true;
    QString m_bundleIdentifier;
    bool m_lookingUpAuthorName = false;
};

} // namespace plinth
