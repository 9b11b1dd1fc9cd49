#include "cli/ProjectDescription.h"

#include "app/base/TextCatalog.h"
#include "catalogs/ModuleCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "generation/LibraryRoutes.h"
#include "generation/PodInstallation.h"
#include "generation/SecretsMerge.h"
#include "project/BuildSettingsRules.h"
#include "project/ExistingProjectDiscovery.h"
#include "project/ProjectNameRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace plinth {

namespace {

const QStringList knownFields = {
    QStringLiteral("projectType"),       QStringLiteral("projectName"),
    QStringLiteral("organizationName"),  QStringLiteral("bundleIdentifier"),
    QStringLiteral("authorName"),        QStringLiteral("authorURL"),
    QStringLiteral("selectedUI"),        QStringLiteral("minimumDeploymentTarget"),
    QStringLiteral("projectPath"),       QStringLiteral("doesIncludeAWS"),
    QStringLiteral("doesIncludeBLE"),    QStringLiteral("doesIncludeArkana"),
    QStringLiteral("developmentSchemeName"), QStringLiteral("userSelectedPods"),
    QStringLiteral("configVariant"),     QStringLiteral("userSelectedModules"),
    QStringLiteral("dependencyManager"),
};

/// What the identity screen offers as the organisation at first.
const QString defaultOrganisation = QStringLiteral("Tarnwick Solutions");

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString quotedList(const QStringList &values)
{
    QStringList quotedValues;
    for (const QString &value : values)
        quotedValues << quoted(value);
    return quotedValues.join(QStringLiteral(", "));
}

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true or false");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a text");
    case QJsonValue::Array: return QStringLiteral("a list");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

/// Line and column (from 1) of a character offset into `text`.
QString position(const QByteArray &text, qsizetype offset)
{
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1);
}

/// Reads the description's fields with their types and checks them; every
/// problem is kept, none stops the reading.
class DescriptionReader
{
public:
    DescriptionReader(const QJsonObject &object, const QString &baseDirectory)
        : m_object(object)
        , m_baseDirectory(baseDirectory)
    {
    }

    ProjectDescription read()
    {
        for (auto field = m_object.begin(); field != m_object.end(); ++field) {
            if (!knownFields.contains(field.key()))
                problem(field.key(), QStringLiteral("not a field of a project description (the fields are: ")
                                         + knownFields.join(QStringLiteral(", ")) + QLatin1Char(')'));
        }
        const std::optional<QString> type = string(QStringLiteral("projectType"), true);
        readCommonFields(type == QLatin1String("existing"));
        if (type == QLatin1String("new")) {
            m_details.projectType = ProjectType::new_;
            checkNewProject();
        } else if (type == QLatin1String("existing")) {
            m_details.projectType = ProjectType::existing;
            checkExistingProject();
        } else if (type) {
            problem(QStringLiteral("projectType"), QStringLiteral("must be \"new\" or \"existing\", not ") + quoted(*type));
        }
        readDependencyManager();
        return {m_details, m_problems};
    }

private:
    // Without the field, a new project uses CocoaPods and an existing one
    // keeps to how it gets its libraries now.
    void readDependencyManager()
    {
        const QString field = QStringLiteral("dependencyManager");
        const std::optional<QString> manager = string(field);
        if (!manager)
            m_details.dependencyManager = defaultDependencyManager(m_details);
        else if (*manager == QLatin1String("cocoapods"))
            m_details.dependencyManager = DependencyManager::cocoaPods;
        else if (*manager == QLatin1String("spm"))
            m_details.dependencyManager = DependencyManager::swiftPackageManager;
        else
            problem(field, QStringLiteral("must be \"cocoapods\" or \"spm\", not ") + quoted(*manager));
    }

    void problem(const QString &field, const QString &message) { m_problems << field + QStringLiteral(": ") + message; }

    void wrongType(const QString &field, const QString &expected, const QJsonValue &value)
    {
        problem(field, QStringLiteral("must be ") + expected + QStringLiteral(", not ") + kindOf(value));
    }

    bool has(const QString &field) const { return m_object.contains(field); }

    std::optional<QString> string(const QString &field, bool required = false)
    {
        const QJsonValue value = m_object.value(field);
        if (value.isUndefined()) {
            if (required)
                problem(field, QStringLiteral("missing"));
            return std::nullopt;
        }
        if (!value.isString()) {
            wrongType(field, QStringLiteral("a text"), value);
            return std::nullopt;
        }
        return value.toString();
    }

    std::optional<bool> boolean(const QString &field)
    {
        const QJsonValue value = m_object.value(field);
        if (value.isUndefined())
            return std::nullopt;
        if (!value.isBool()) {
            wrongType(field, QStringLiteral("true or false"), value);
            return std::nullopt;
        }
        return value.toBool();
    }

    std::optional<QStringList> stringList(const QString &field, bool required = false)
    {
        const QJsonValue value = m_object.value(field);
        if (value.isUndefined()) {
            if (required)
                problem(field, QStringLiteral("missing"));
            return std::nullopt;
        }
        if (!value.isArray()) {
            wrongType(field, QStringLiteral("a list of texts"), value);
            return std::nullopt;
        }
        // Entries of another type are reported and left out, so the texts
        // still get their own checks.
        QStringList list;
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            if (array.at(i).isString())
                list << array.at(i).toString();
            else
                wrongType(field + QStringLiteral("[%1]").arg(i), QStringLiteral("a text"), array.at(i));
        }
        return list;
    }

    /// A path as given, made absolute from the description's folder.
    QString absolutePath(const QString &path) const
    {
        return QDir::cleanPath(QDir(m_baseDirectory).absoluteFilePath(path));
    }

    /// An entry of a fixed list of catalog texts, or the screen's preset.
    QString choice(const QString &field, const QStringList &options, const QString &preset)
    {
        const std::optional<QString> value = string(field);
        if (!value)
            return preset;
        if (!options.contains(*value)) {
            problem(field, QStringLiteral("must be one of ") + quotedList(options) + QStringLiteral(", not ")
                               + quoted(*value));
            return preset;
        }
        return *value;
    }

    /// The fields that mean the same for both kinds of project. A new
    /// project's deployment target defaults to the screen's preset; an
    /// existing project keeps its own unless the description names one.
    void readCommonFields(bool existingProject)
    {
        m_details.authorURL = string(QStringLiteral("authorURL")).value_or(QString());
        m_details.minimumDeploymentTarget = choice(QStringLiteral("minimumDeploymentTarget"), deploymentTargetOptions(),
                                                   existingProject ? QString() : text(key::deploymentTarget18_0));
        m_details.doesIncludeAWS = boolean(QStringLiteral("doesIncludeAWS")).value_or(false);
        m_details.doesIncludeBLE = boolean(QStringLiteral("doesIncludeBLE")).value_or(false);
        m_details.doesIncludeArkana = boolean(QStringLiteral("doesIncludeArkana")).value_or(true);

        if (const auto pods = stringList(QStringLiteral("userSelectedPods"))) {
            for (const QString &pod : *pods) {
                if (!isValidPodName(pod))
                    problem(QStringLiteral("userSelectedPods"),
                            quoted(pod) + QStringLiteral(" is not a pod name (letters, digits and -_.+ only)"));
            }
            m_details.userSelectedPods = *pods;
        }
    }

    /// configVariant and developmentSchemeName, as the build settings
    /// screen settles them. With `required`, at least one variant is needed
    /// (`why` says what for, when the screen's reason does not).
    void readVariants(bool required, const QString &why = {})
    {
        const QString field = QStringLiteral("configVariant");
        const std::optional<QStringList> labels = stringList(field);
        if (!labels && has(field))
            return; // the wrong type is reported already
        QStringList accepted;
        for (const QString &label : labels.value_or(QStringList())) {
            const QString &entry = field;
            switch (variantLabelProblem(label, accepted)) {
            case VariantLabelProblem::none: break;
            case VariantLabelProblem::empty: problem(entry, QStringLiteral("a variant has an empty name")); break;
            case VariantLabelProblem::notIdentifier:
                problem(entry, quoted(label) + QStringLiteral(" must be a name of letters, digits and \"_\" that does "
                                                              "not start with a digit (it becomes a build "
                                                              "configuration and a Swift condition)"));
                break;
            case VariantLabelProblem::readsAsYamlValue:
                problem(entry, quoted(label) + QStringLiteral(": ") + text(key::variantLabelReadsAsYamlValue));
                break;
            case VariantLabelProblem::swiftKeyword:
                problem(entry, quoted(label) + QStringLiteral(": ") + text(key::variantLabelSwiftKeyword));
                break;
            case VariantLabelProblem::duplicate: problem(entry, quoted(label) + QStringLiteral(" is listed twice")); break;
            }
            if (!accepted.contains(label))
                accepted << label;
            m_details.configVariant.append(CheckBoxItem{label, true});
        }

        const std::optional<QString> scheme = string(QStringLiteral("developmentSchemeName"));
        switch (developmentSchemeChoice(m_details.configVariant)) {
        case DevelopmentSchemeChoice::noVariant:
            if (required)
                problem(field, text(key::noConfigVariantSelectionSubTitle) + why);
            if (scheme)
                m_details.developmentSchemeName = *scheme;
            return;
        case DevelopmentSchemeChoice::keepDevelopment:
            m_details.developmentSchemeName = text(key::variantDevelopment);
            break;
        case DevelopmentSchemeChoice::ask:
            if (!scheme)
                problem(QStringLiteral("developmentSchemeName"), text(key::selectDevelopmentSchemeSubTitle)
                                                                     + QStringLiteral(" (one of ")
                                                                     + quotedList(accepted) + QLatin1Char(')'));
            break;
        }
        if (!scheme)
            return;
        if (!accepted.contains(*scheme)) {
            problem(QStringLiteral("developmentSchemeName"),
                    quoted(*scheme) + QStringLiteral(" is not among the configuration variants (")
                        + quotedList(accepted) + QLatin1Char(')'));
            return;
        }
        m_details.developmentSchemeName = *scheme;
    }

    void checkNewProject()
    {
        // The identity screen.
        if (const auto name = string(QStringLiteral("projectName"), true)) {
            if (name->isEmpty())
                problem(QStringLiteral("projectName"), QStringLiteral("must not be empty"));
            else if (const char *message = productNameMessageKey(*name))
                problem(QStringLiteral("projectName"), text(message) + QStringLiteral(" (") + quoted(*name) + QLatin1Char(')'));
            m_details.projectName = storedProductName(*name);
        }
        m_details.organizationName = string(QStringLiteral("organizationName")).value_or(defaultOrganisation);
        if (m_details.organizationName.isEmpty())
            problem(QStringLiteral("organizationName"), QStringLiteral("must not be empty"));
        if (const auto author = string(QStringLiteral("authorName"), true)) {
            if (author->isEmpty())
                problem(QStringLiteral("authorName"), QStringLiteral("must not be empty"));
            m_details.authorName = *author;
        }
        readBundleIdentifier();

        // The build settings screen.
        m_details.selectedUI = choice(QStringLiteral("selectedUI"), uiKindOptions(), text(key::uiKit));
        readDestination();
        readVariants(true);

        if (const auto modules = stringList(QStringLiteral("userSelectedModules")); modules && !modules->isEmpty())
            problem(QStringLiteral("userSelectedModules"),
                    QStringLiteral("modules are added to existing projects only; a new project has none"));
    }

    void readBundleIdentifier()
    {
        static const QRegularExpression identifier(QStringLiteral("\\A[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\z"));
        const std::optional<QString> given = string(QStringLiteral("bundleIdentifier"));
        if (!given) {
            m_details.bundleIdentifier = bundleIdentifierFor(m_details.projectName);
            return;
        }
        if (!identifier.match(*given).hasMatch())
            problem(QStringLiteral("bundleIdentifier"),
                    quoted(*given) + QStringLiteral(" may hold only letters, digits, \"-\" and \".\" between "
                                                    "non-empty parts (as in com.tarnwick.Orbit)"));
        m_details.bundleIdentifier = *given;
    }

    /// The destination folder of a new project: it exists, is a folder one
    /// may write in, and has nothing yet where the project's folder goes.
    void readDestination()
    {
        const std::optional<QString> given = string(QStringLiteral("projectPath"), true);
        if (!given)
            return;
        const QString destination = absolutePath(*given);
        m_details.projectPath = destination;
        const QString field = QStringLiteral("projectPath");
        switch (destinationProblem(destination)) {
        case DestinationProblem::missing:
            problem(field, text(key::inValidPath) + QStringLiteral(" (") + destination + QStringLiteral(": not found)"));
            return;
        case DestinationProblem::notAFolder:
            problem(field, text(key::inValidPath) + QStringLiteral(" (") + destination + QStringLiteral(": not a folder)"));
            return;
        case DestinationProblem::notWritable:
            problem(field, text(key::inValidPath) + QStringLiteral(" (") + destination
                               + QStringLiteral(": not writable)"));
            return;
        case DestinationProblem::none:
            break;
        }
        if (!m_details.projectName.isEmpty() && projectFolderExists(destination, m_details.projectName))
            problem(field, text(key::directoryAlreadyExistSubTitle, m_details.projectName) + QStringLiteral(" (")
                               + m_details.projectRoot() + QLatin1Char(')'));
    }

    void checkExistingProject()
    {
        m_details.organizationName = string(QStringLiteral("organizationName")).value_or(QString());
        m_details.authorName = string(QStringLiteral("authorName")).value_or(QString());
        const std::optional<QString> name = string(QStringLiteral("projectName"));
        const std::optional<QString> ui = has(QStringLiteral("selectedUI"))
                                              ? std::optional<QString>(choice(QStringLiteral("selectedUI"), uiKindOptions(), QString()))
                                              : std::nullopt;
        const bool found = readProjectFolder(name);
        readBundleIdentifier();
        // Without variants the project's own environments are taken, as the
        // module screen does: its .arkana.yml's, else its configurations.
        if (has(QStringLiteral("configVariant")) || !found) {
            readVariants(m_details.doesIncludeArkana, QStringLiteral(" (the Arkana secrets files are made for the "
                                                                     "variants; set doesIncludeArkana to false to go "
                                                                     "without)"));
        } else {
            for (const QString &environment :
                 existingProjectEnvironments(m_details.projectRoot(), m_details.projectName))
                m_details.configVariant.append(CheckBoxItem{environment, true});
            const std::optional<QString> scheme = string(QStringLiteral("developmentSchemeName"));
            const bool development = std::any_of(m_details.configVariant.cbegin(), m_details.configVariant.cend(),
                                                 [this](const CheckBoxItem &variant) {
                                                     return variant.label == m_details.developmentSchemeName;
                                                 });
            if (scheme)
                m_details.developmentSchemeName = *scheme;
            else if (!development)
                m_details.developmentSchemeName = m_details.configVariant.first().label;
        }

        // The module screen: the UI kind comes from the project's sources.
        const std::optional<QString> detected = found ? detectProjectUI(m_details) : std::nullopt;
        if (detected && ui && !ui->isEmpty() && *ui != *detected)
            problem(QStringLiteral("selectedUI"), QStringLiteral("the project is a ") + *detected
                                                      + QStringLiteral(" project, not ") + quoted(*ui));
        m_details.selectedUI = detected ? *detected : ui.value_or(QString());
        readModules(found);
    }

    /// The project folder of an existing project, as the home screen accepts
    /// it: it holds its .xcodeproj. True when the project was found.
    bool readProjectFolder(const std::optional<QString> &name)
    {
        const QString field = QStringLiteral("projectPath");
        const std::optional<QString> given = string(field, true);
        if (!given)
            return false;
        const QString folder = absolutePath(*given);
        const QFileInfo info(folder);
        if (!info.isDir()) {
            problem(field, folder + (info.exists() ? QStringLiteral(" is not a folder") : QStringLiteral(" does not exist")));
            return false;
        }
        const ProjectPackage package = findProjectPackage(folder);
        if (!package.error.isEmpty()) {
            problem(field, folder + QStringLiteral(" cannot be read: ") + package.error);
            return false;
        }
        if (!package.found) {
            problem(field, folder + QStringLiteral(" holds no .xcodeproj (give the folder of the project, the one "
                                                   "with its .xcodeproj)"));
            return false;
        }
        m_details.projectPath = package.projectPath;
        m_details.projectName = package.projectName;
        m_details.projectFolder = package.folder;
        if (name && *name != package.projectName)
            problem(QStringLiteral("projectName"), quoted(*name) + QStringLiteral(" does not match the project ")
                                                       + package.projectName + QStringLiteral(".xcodeproj in ") + folder);
        return true;
    }

    void readModules(bool projectFound)
    {
        const QString field = QStringLiteral("userSelectedModules");
        const std::optional<QStringList> titles = stringList(field);
        if (!titles || titles->isEmpty() || !projectFound)
            return;
        if (m_details.selectedUI.isEmpty()) {
            problem(field, QStringLiteral("the project's UI kind could not be detected (no AppDelegate.swift or ")
                               + m_details.projectName
                               + QStringLiteral("App.swift naming SwiftUI or UIKit), so no module is offered; "
                                                "give selectedUI"));
            return;
        }
        const bool uiKit = m_details.isUIKitProject();
        const QList<ListItem> catalog = moduleCatalog(uiKit);
        QStringList chosen;
        for (const QString &title : *titles) {
            const QString &entry = field;
            const auto item = std::find_if(catalog.cbegin(), catalog.cend(),
                                           [&](const ListItem &module) { return module.title == title; });
            if (item == catalog.cend()) {
                QStringList known;
                for (const ListItem &module : offeredModules(uiKit))
                    known << module.title;
                problem(entry, QStringLiteral("unknown module ") + quoted(title) + QStringLiteral(" (the modules are: ")
                                   + quotedList(known) + QLatin1Char(')'));
            } else if (!isOfferedFor(*item, uiKit)) {
                problem(entry, quoted(title) + QStringLiteral(" is not offered for ") + m_details.selectedUI
                                   + QStringLiteral(" projects"));
            } else if (chosen.contains(title)) {
                problem(entry, quoted(title) + QStringLiteral(" is listed twice"));
            } else {
                chosen << title;
                m_details.userSelectedModules.append(*item);
            }
        }
    }

    QJsonObject m_object;
    QString m_baseDirectory;
    ProjectDetailsModel m_details;
    QStringList m_problems;
};

} // namespace

ProjectDescription readProjectDescription(const QByteArray &json, const QString &baseDirectory,
                                          const std::optional<QString> &destination)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return {{}, {QStringLiteral("not valid JSON: ") + error.errorString() + QStringLiteral(" (")
                     + position(json, error.offset) + QLatin1Char(')')}};
    if (!document.isObject())
        return {{}, {QStringLiteral("a project description is a JSON object ({ \"projectType\": ... })")}};
    QJsonObject fields = document.object();
    if (destination)
        fields.insert(QStringLiteral("projectPath"), QDir::current().absoluteFilePath(*destination));
    return DescriptionReader(fields, baseDirectory).read();
}

ProjectDescription readProjectDescriptionFile(const QString &path, const std::optional<QString> &destination)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, {QStringLiteral("cannot be read: ") + file.errorString()}};
    return readProjectDescription(file.readAll(), QFileInfo(path).absolutePath(), destination);
}

} // namespace plinth
