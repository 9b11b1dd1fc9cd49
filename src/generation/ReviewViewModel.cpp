#include "generation/ReviewViewModel.h"

#include "app/base/TextCatalog.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>
#include <QPointer>
#include <QtConcurrent>

namespace plinth {

ReviewViewModel::ReviewViewModel(std::shared_ptr<const CommandRunner> runner, const ResourceBundle &bundle,
                                 const ProjectDetailsModel &details, QObject *parent)
    : QObject(parent)
    , m_runner(std::move(runner))
    , m_bundle(bundle)
    , m_details(details)
{
}

ReviewViewModel::~ReviewViewModel() = default;

void ReviewViewModel::start()
{
    if (m_started)
        return;
    m_started = true;
    m_loading = true;
    Q_EMIT previewChanged();
    QPointer<ReviewViewModel> self(this);
    (void)QtConcurrent::run([self, runner = m_runner, bundle = m_bundle, details = m_details] {
        const RunPreview preview = previewRun(details, bundle, *runner);
        QMetaObject::invokeMethod(
            qApp, [self, preview] { if (self) self->previewEnded(preview); }, Qt::QueuedConnection);
    });
}

void ReviewViewModel::previewEnded(const RunPreview &preview)
{
    m_preview = preview;
    m_loading = false;
    Q_EMIT previewChanged();
}

QString ReviewViewModel::summary() const
{
    if (m_loading)
        return text(key::reviewPreparing);
    if (!m_preview.problem.isEmpty())
        return m_preview.problem;
    for (const GenerationStep &step : m_preview.steps) {
        if (step.outcome == GenerationStep::Outcome::failed)
            return text(key::reviewStepWouldFail, step.detail.section(QLatin1Char('\n'), 0, 0));
    }
    if (m_preview.files.isEmpty())
        return text(key::reviewNoChanges);
    return text(key::reviewSummary, QString::number(m_preview.files.size()));
}

} // namespace plinth
