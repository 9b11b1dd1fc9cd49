#pragma once

#include "app/base/ResourceBundle.h"
#include "project/ProjectDetailsModel.h"

#include <QString>
#include <QStringList>

namespace plinth {

/// "UIKitBaseSetup" when the project is a UIKit project, else "SwiftUIBaseSetup".
QString chooseTemplate(const ProjectDetailsModel &details);

/// The resource folder `name` of `bundle` ("SwiftUIBaseSetup", or a nested
/// "SwiftUIBaseSetup/SwiftUIBaseSetupTests"); failing that, a resource named
/// "UIKitBaseSetup" inside a folder called `name`. Empty when neither exists.
QString templateResourceURL(const QString &name, const ResourceBundle &bundle);
QString templateResourceURL(const QString &name);

/// The copy stage: the template's plain top-level files (never "Podfile" or
/// "Podfile.lock") into `projectRoot`, then its app folder (without the AWS S3
/// and BLE module folders the project leaves out), unit test folder and UI
/// test folder into the project's three target folders, which must exist.
/// Nothing that exists in the project is overwritten. A stage whose resource
/// is missing is skipped; a missing template or folder, and a file that the
/// bundle's manifest "<templateName>.files" lists but the template lacks, is
/// named on the console. True when all four stages found their resource,
/// nothing listed was missing and everything was copied.
bool copyTemplate(const QString &templateName, const QString &projectRoot, const ProjectDetailsModel &details,
                  const ResourceBundle &bundle);

/// Creates `destination` when missing and copies every plain file directly in
/// `source` into it (folders are left out), one failure not stopping the rest.
bool copyTopLevelFiles(const QString &source, const QString &destination);

/// Copies one item into `destination` when it exists, is not a folder and is
/// not called "Podfile" or "Podfile.lock". False only when a copy failed.
bool copyTopLevelItem(const QString &item, const QString &destination);

/// Copies every child of `source` whose name is not in `excluding` into the
/// existing folder `destination`; a child that is already there is skipped.
bool copyDirectoryContents(const QString &source, const QString &destination, const QStringList &excluding);

} // namespace plinth
