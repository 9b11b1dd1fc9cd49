#include "project/ProjectTypeSelectionView.h"

#include "app/base/TextCatalog.h"
#include "app/widgets/Artwork.h"
#include "app/widgets/BaseView.h"
#include "app/widgets/CustomButtonView.h"
#include "project/ProjectTypeSelectionViewModel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace plinth {

namespace {

constexpr int logoSide = 100;
constexpr int partSpacing = 50;
const QString buttonColorName = QStringLiteral("ExistingProjectButton");

CustomButtonView::ColorScheme currentScheme()
{
    return Artwork::isDarkMode() ? CustomButtonView::ColorScheme::dark : CustomButtonView::ColorScheme::light;
}

CustomButtonView *makeChoiceButton(const QString &objectName, const QString &symbol, const QString &title,
                                   QWidget *parent)
{
    const CustomButtonView::ColorScheme scheme = currentScheme();
    auto *button = new CustomButtonView(symbol, title,
                                        Artwork::color(buttonColorName, scheme == CustomButtonView::ColorScheme::dark),
                                        scheme, parent);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setMinimumSize(button->sizeHint().expandedTo({260, 64}));
    return button;
}

} // namespace

ProjectTypeSelectionView::ProjectTypeSelectionView(std::unique_ptr<ProjectTypeSelectionViewModel> viewModel,
                                                   FlagBinding shouldGoToPrevious, FolderChooser chooseFolder,
                                                   QWidget *parent)
    : QWidget(parent)
    , m_viewModel(std::move(viewModel))
    , m_shouldGoToPrevious(std::move(shouldGoToPrevious))
    , m_chooseFolder(std::move(chooseFolder))
{
    setObjectName(QStringLiteral("projectTypeSelectionView"));

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 0, 20, 0);
    column->setSpacing(partSpacing);
    column->addStretch(1);

    auto *heading = new QVBoxLayout;
    heading->setSpacing(20);
    auto *logo = new QLabel(content);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setFixedSize(logoSide, logoSide);
    logo->setPixmap(Artwork::logo({logoSide, logoSide}));
    logo->setAccessibleName(QStringLiteral("Plinth"));
    heading->addWidget(logo, 0, Qt::AlignHCenter);
    auto *title = new QLabel(text(key::projectTypeSelectionViewTitle), content);
    title->setObjectName(QStringLiteral("title"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(22);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    heading->addWidget(title);
    column->addLayout(heading);

    m_newProjectButton = makeChoiceButton(QStringLiteral("newProjectButton"), QStringLiteral("plus.circle"),
                                          text(key::newProject), content);
    m_existingProjectButton = makeChoiceButton(QStringLiteral("existingProjectButton"), QStringLiteral("folder"),
                                               text(key::existingProject), content);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(partSpacing);
    buttons->addStretch(1);
    buttons->addWidget(m_newProjectButton);
    buttons->addWidget(m_existingProjectButton);
    buttons->addStretch(1);
    column->addLayout(buttons);
    column->addStretch(1);
    setTabOrder(m_newProjectButton, m_existingProjectButton);

    connect(m_newProjectButton, &QAbstractButton::clicked, this, [this] { m_viewModel->chooseNewProject(); });
    connect(m_existingProjectButton, &QAbstractButton::clicked, this,
            &ProjectTypeSelectionView::chooseExistingProject);

    m_frame = new BaseView(content, this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_frame);
    setFocusProxy(m_newProjectButton);
}

ProjectTypeSelectionView::~ProjectTypeSelectionView() = default;

void ProjectTypeSelectionView::chooseExistingProject()
{
    m_viewModel->chooseExistingProject();
    if (!m_chooseFolder)
        return;
    // The panel is modal and runs its own event loop: the screen may be gone
    // when it returns.
    const QPointer<ProjectTypeSelectionView> self(this);
    const QString folder = m_chooseFolder(this, FolderPanelOptions{QStringLiteral("Choose Project Folder"), {}, false});
    if (self && !folder.isEmpty())
        m_viewModel->acceptProjectFolder(folder);
}

void ProjectTypeSelectionView::applyColorScheme()
{
    const CustomButtonView::ColorScheme scheme = currentScheme();
    const QColor background = Artwork::color(buttonColorName, scheme == CustomButtonView::ColorScheme::dark);
    for (CustomButtonView *button : {m_newProjectButton, m_existingProjectButton}) {
        button->setColorScheme(scheme);
        button->setBackgroundColor(background);
    }
}

void ProjectTypeSelectionView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyColorScheme();
}

} // namespace plinth
