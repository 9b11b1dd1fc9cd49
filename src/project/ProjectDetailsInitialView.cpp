#include "project/ProjectDetailsInitialView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "project/FormRows.h"
#include "project/ProjectDetailsInitialViewModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plinth {

namespace {

using Getter = QString (ProjectDetailsInitialViewModel::*)() const;
using Setter = void (ProjectDetailsInitialViewModel::*)(const QString &);
using Signal = void (ProjectDetailsInitialViewModel::*)(const QString &);

// Two-way binding of a field to one string of the model: what the user types
// goes to the model, and a value the model takes from elsewhere (the
// author-name lookup) comes back to the field.
void bind(QLineEdit *field, ProjectDetailsInitialViewModel *model, Getter get, Setter set, Signal changed)
{
    field->setText((model->*get)());
    if (set)
        QObject::connect(field, &QLineEdit::textEdited, model, [model, set](const QString &value) { (model->*set)(value); });
    QObject::connect(model, changed, field, [field](const QString &value) { showModelText(field, value); });
}

} // namespace

ProjectDetailsInitialView::ProjectDetailsInitialView(std::unique_ptr<ProjectDetailsInitialViewModel> viewModel,
                                                     FlagBinding shouldGoToPrevious, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPrevious(std::move(shouldGoToPrevious))
{
    setObjectName(QStringLiteral("projectDetailsInitialView"));
    ProjectDetailsInitialViewModel *model = m_viewModel.get();

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(formMargin, 0, formMargin, 0);
    auto *grid = makeFormGrid(column);

    auto *productName = makeFormField(QStringLiteral("productNameField"), content);
    auto *organisationsName = makeFormField(QStringLiteral("organisationsNameField"), content);
    auto *authorName = makeFormField(QStringLiteral("authorNameField"), content);
    auto *bundleIdentifier = makeFormField(QStringLiteral("bundleIdentifierField"), content);
    bundleIdentifier->setReadOnly(true);
    showAsReadOnly(bundleIdentifier);

    m_productNameMessage = makeFormMessage(QStringLiteral("productNameMessage"), content);

    addFormRow(grid, 0, text(key::productName), productName);
    grid->addWidget(m_productNameMessage, 1, 1);
    addFormRow(grid, 2, text(key::organisationsName), organisationsName);
    addFormRow(grid, 3, text(key::authorName), authorName);
    addFormRow(grid, 4, text(key::bundleIdentifier), bundleIdentifier);
    column->addStretch(1);

    bind(productName, model, &ProjectDetailsInitialViewModel::productName,
         &ProjectDetailsInitialViewModel::setProductName, &ProjectDetailsInitialViewModel::productNameChanged);
    bind(organisationsName, model, &ProjectDetailsInitialViewModel::organisationsName,
         &ProjectDetailsInitialViewModel::setOrganisationsName,
         &ProjectDetailsInitialViewModel::organisationsNameChanged);
    bind(authorName, model, &ProjectDetailsInitialViewModel::authorName,
         &ProjectDetailsInitialViewModel::setAuthorName, &ProjectDetailsInitialViewModel::authorNameChanged);
    bind(bundleIdentifier, model, &ProjectDetailsInitialViewModel::bundleIdentifier, nullptr,
         &ProjectDetailsInitialViewModel::bundleIdentifierChanged);
    showFormMessage(m_productNameMessage, model->productNameMessage());
    connect(model, &ProjectDetailsInitialViewModel::productNameMessageChanged, this,
            [this](const QString &message) { showFormMessage(m_productNameMessage, message); });

    m_frame = new BaseView(content, this);
    m_frame->setNextButton(text(key::next), [model] { model->next(); });
    m_frame->setPreviousButton(text(key::previous), [this] { m_shouldGoToPrevious.toggle(); });
    m_frame->setShouldDisableNextButton(model->isNextDisabled());
    connect(model, &ProjectDetailsInitialViewModel::isNextDisabledChanged, this,
            [this](bool disabled) { m_frame->setShouldDisableNextButton(disabled); });
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);

    setTabOrder(productName, organisationsName);
    setTabOrder(organisationsName, authorName);
    setTabOrder(authorName, bundleIdentifier);
    setTabOrder(bundleIdentifier, m_frame->previousButton());
    setTabOrder(m_frame->previousButton(), m_frame->nextButton());
    productName->setFocus();
}

ProjectDetailsInitialView::~ProjectDetailsInitialView() = default;

} // namespace plinth
