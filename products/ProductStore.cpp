#include "products/ProductStore.h"

#include "core/AppFolder.h"
#include "core/FileBatch.h"
#include "core/FileRules.h"

#include <QFileInfo>

namespace {

using Problem = ProductStore::Problem;
using Kind = Problem::Kind;
using FileRules::FileProblem;

Problem fileProblem(Kind kind, const QString& path, const FileProblem& problem)
{
    return Problem{kind, ProductField::ProgramName, QFileInfo(path).fileName(), problem.detail};
}

// The problem of a step on the file at `path` that failed, as `kind`; none when it was done.
std::optional<Problem> failed(const Result<void, FileProblem>& step, const QString& path, Kind kind)
{
    if (step)
        return std::nullopt;
    return fileProblem(kind, path, step.problem());
}

// Whether `a` and `b` are files of their own: false when both paths lead to one file, as two
// names that differ in letter case do on a file system that ignores it.
bool apart(const QString& a, const QString& b)
{
    return !FileRules::sameFile(a, b);
}

} // namespace

ProductStore::ProductStore(QString dataFolder, QObject* parent)
    : QObject(parent), m_dataFolder(std::move(dataFolder))
{
}

QStringList ProductStore::names() const
{
    return ProductProfiles::list(m_dataFolder);
}

std::optional<Product> ProductStore::profile(const QString& name) const
{
    return ProductProfiles::read(m_dataFolder, name);
}

Result<std::optional<PadCopy>, PadFile::Problem> ProductStore::pad(const QString& name) const
{
    const QString path = ProductProfiles::padCopyFile(m_dataFolder, name);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return std::optional<PadCopy>();
    Result<PadCopy, PadFile::Problem> copy = PadCopy::readFile(path, file.lastModified());
    if (!copy)
        return copy.problem();
    return std::optional(std::move(copy).value());
}

Result<void, Problem> ProductStore::save(const Change& change)
{
    const QString& name = change.profile.programName;
    const Result<ProductProfiles::FileContent, Problem> profileFile =
        ProductProfiles::prepareSave(m_dataFolder, change.profile);
    if (!profileFile)
        return profileFile.problem();
    const bool renamed = !change.editedName.isEmpty() && change.editedName != name;
    const QString padFile = ProductProfiles::padCopyFile(m_dataFolder, name);
    const QString oldPadFile =
        renamed ? ProductProfiles::padCopyFile(m_dataFolder, change.editedName) : QString();

    // Where a product keeps none, a save under its name leaves none.
    const bool padSet = change.padChanged || change.editedName.isEmpty();

    FileBatch batch;
    const auto changeFiles = [&]() -> std::optional<Problem> {
        if (auto problem = failed(batch.write(profileFile->path, profileFile->content), profileFile->path,
                                  Kind::FileNotWritten))
            return problem;
        if (padSet && change.pad) {
            if (auto problem = failed(batch.write(padFile, change.pad->content, change.pad->taken), padFile,
                                      Kind::FileNotWritten))
                return problem;
        } else if (padSet || (renamed && apart(oldPadFile, padFile))) {
            // The PAD file kept under the old name goes with the product; none goes where none was.
            const QFileInfo kept(oldPadFile);
            if (!padSet && kept.exists()) {
                const auto content = FileRules::readWhole(oldPadFile);
                if (!content)
                    return fileProblem(Kind::FileNotWritten, padFile, content.problem());
                if (auto problem = failed(batch.write(padFile, *content, kept.lastModified()), padFile,
                                          Kind::FileNotWritten))
                    return problem;
            } else if (auto problem = failed(batch.remove(padFile), padFile, Kind::FileNotDeleted)) {
                return problem;
            }
        }
        if (!renamed)
            return std::nullopt;
        if (apart(oldPadFile, padFile)) {
            if (auto problem = failed(batch.remove(oldPadFile), oldPadFile, Kind::OldFileNotDeleted))
                return problem;
        }
        const QString oldFile = ProductProfiles::existingFile(m_dataFolder, change.editedName);
        if (oldFile.isEmpty() || !apart(oldFile, profileFile->path))
            return std::nullopt;
        return failed(batch.remove(oldFile), oldFile, Kind::OldFileNotDeleted);
    };
    if (std::optional<Problem> problem = changeFiles()) {
        if (!batch.undo()) {
            problem->kind = Kind::PartlyChanged;
            Q_EMIT listChanged();
        }
        return *problem;
    }

    Q_EMIT listChanged();
    if (renamed)
        Q_EMIT productRenamed(change.editedName, name);
    if (m_active && (m_active->name == name || m_active->name == change.editedName)) {
        const bool nameChanged = m_active->name != name;
        setActive(name);
        if (nameChanged)
            recordChoice(name);
    }
    return {};
}

Result<void, Problem> ProductStore::remove(const QString& name)
{
    FileBatch batch;
    const QString padFile = ProductProfiles::padCopyFile(m_dataFolder, name);
    const QString profileFile = ProductProfiles::existingFile(m_dataFolder, name);
    for (const QString& path : {padFile, profileFile}) {
        if (path.isEmpty())
            continue;
        if (const auto removed = batch.remove(path); !removed) {
            Problem problem = fileProblem(Kind::FileNotDeleted, path, removed.problem());
            if (!batch.undo()) {
                problem.kind = Kind::PartlyChanged;
                Q_EMIT listChanged();
            }
            return problem;
        }
    }
    Q_EMIT listChanged();
    const bool wasActive = m_active && m_active->name == name;
    if (wasActive) {
        m_active.reset();
        recordChoice({});
        Q_EMIT activeProductChanged();
    }
    Q_EMIT productDeleted(name, wasActive);
    return {};
}

bool ProductStore::choose(const QString& name)
{
    if (!profile(name))
        return false;
    setActive(name);
    recordChoice(name);
    return true;
}

void ProductStore::restoreChosen()
{
    const auto content = FileRules::readWhole(AppFolder::path(m_dataFolder, AppFolder::lastProductFile()));
    const QList<QByteArray> lines = FileRules::splitLines(content.valueOr({}));
    if (lines.isEmpty() || lines.first().isEmpty())
        return;
    const QString name = QString::fromUtf8(lines.first());
    if (profile(name))
        setActive(name);
}

std::optional<ProductFacts> ProductStore::activeFacts() const
{
    return m_active ? std::optional(m_active->facts) : std::nullopt;
}

std::optional<ProductFacts> ProductStore::readFacts(const QString& name) const
{
    std::optional<Product> stored = profile(name);
    if (!stored)
        return std::nullopt;
    // A PAD copy that cannot be read leaves the product its five facts; the editor says why.
    const std::optional<PadCopy> copy = pad(name).valueOr(std::nullopt);
    return copy ? ProductFacts{*std::move(stored), copy->values, copy->taken}
                : ProductFacts{*std::move(stored)};
}

void ProductStore::setActive(const QString& name)
{
    std::optional<ProductFacts> facts = readFacts(name);
    if (facts)
        m_active = Active{name, *std::move(facts)};
    else
        m_active.reset();
    Q_EMIT activeProductChanged();
}

void ProductStore::recordChoice(const QString& name)
{
    const QString path = AppFolder::path(m_dataFolder, AppFolder::lastProductFile());
    const QByteArray content = name.isEmpty() ? QByteArray() : name.toUtf8() + "\r\n";
    if (const auto written = FileRules::writeWhole(path, content); !written)
        Q_EMIT choiceNotRecorded(name, written.problem().detail);
}
