#pragma once

#include "app/base/ResourceBundle.h"
#include "generation/RunPreview.h"
#include "project/ProjectDetailsModel.h"

#include <QObject>

#include <memory>

namespace plinth {

class CommandRunner;

/// The review screen's model (existing projects, between the pod screen and
/// the generation screen): the run made on a copy (previewRun, on the thread
/// pool), and the files it would add and change with their diffs. Lives on
/// the main thread; a preview that ends after the model is gone is dropped.
class ReviewViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY previewChanged)

public:
    ReviewViewModel(std::shared_ptr<const CommandRunner> runner, const ResourceBundle &bundle,
                    const ProjectDetailsModel &details, QObject *parent = nullptr);
    ~ReviewViewModel() override;

    /// Starts the preview once; later calls do nothing.
    void start();

    bool isLoading() const { return m_loading; }
    const QList<PreviewedFile> &files() const { return m_preview.files; }
    /// What the screen says above the files: how many, or why there are
    /// none (no change, a step that would fail, no preview at all).
    QString summary() const;

Q_SIGNALS:
    void previewChanged();

private:
    void previewEnded(const RunPreview &preview);

    std::shared_ptr<const CommandRunner> m_runner;
    ResourceBundle m_bundle;
    ProjectDetailsModel m_details;
    RunPreview m_preview;
    bool m_started = false;
    bool m_loading = false;
};

} // namespace plinth
