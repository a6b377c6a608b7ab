#include "app/InstallJob.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <memory>
#include <span>
#include <string_view>
#include <thread>

#include "app/EntryQueue.h"
#include "app/InstallJournal.h"
#include "app/InstallRecord.h"
#include "app/InstallTransaction.h"
#include "app/KitIdentity.h"
#include "app/KitOpenFailure.h"
#include "app/ProgressState.h"
#include "app/RecoveredRunText.h"
#include "app/TargetProblem.h"
#include "kit/KitDirectoryOpen.h"
#include "kit/KitEntryData.h"
#include "kit/KitReader.h"
#include "l10n/Messages.h"
#include "platform/SystemPath.h"
#include "text/Convert.h"

namespace {

// Consecutive entries mostly share a folder; a chunk this long keeps the two
// threads out of each other's folders without leaving one idle at the end.
constexpr std::size_t kChunk = 32;

std::int32_t PercentBefore(std::size_t index, std::size_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(index) * 100 / count);
}

WString DestinationOf(const WString& target, const KitEntry& entry) {
    WString name = entry.name;
    ReplaceAll(name, u"\\", u"/");
    return target + name;
}

struct JobRun {
    InstallTransaction& transaction;
    KitReader& kit;
    ProgressState& progress;
    const WString& target;
    EntryQueue queue;
    KitStream* stream = nullptr;  // the kit's data as it is inflated; else its unpacked image
};

void Tally(FileCounts& counts, EntryAction action) {
    if (action == EntryAction::Superseded) return;  // its file is counted with the later entry
    if (action == EntryAction::Skip) {
        ++counts.upToDate;
        return;
    }
    ++counts.written;
    if (action == EntryAction::Replace) ++counts.replaced;
}

// Installs the chunks it is handed until none is left or the run stops.
// Only the reporting thread talks to the progress record while it works (so
// the percentage never goes back and the other thread never waits for its
// lock).
void InstallTakenChunks(JobRun& run, KitEntryData& data, bool reports, FileCounts& counts,
                        InstallTransaction::StagedFiles& staged) {
    const std::size_t count = run.queue.count();
    std::size_t first = 0;
    std::size_t last = 0;
    while (run.queue.Take(&first, &last)) {
        for (std::size_t i = first; i < last && !run.queue.stopped(); ++i) {
            if (reports && run.progress.IsCancelRequested()) {
                run.queue.Stop(ERR_CANCELLED);
                break;
            }
            if (reports) {
                run.progress.PostProgress(ERR_NONE, DestinationOf(run.target, run.kit.entries[i]),
                                          PercentBefore(run.queue.done(), count));
            }
            const ErrorCode code = run.transaction.Stage(data, i, staged);
            if (code != ERR_NONE) {
                run.queue.Stop(code);
                break;
            }
            Tally(counts, run.transaction.ActionOf(i));
            run.queue.Done(1);
        }
        if (run.queue.stopped()) break;
        // A chunk's files go into place together: one journal write for them all.
        const ErrorCode code = run.transaction.PutInPlace(staged);
        if (code != ERR_NONE) {
            run.queue.Stop(code);
            break;
        }
    }
}

// One installing thread's work; it adds its counts once, at its end.
// `data` goes with it: a stream's reader that is done lets the stream go on.
void InstallChunks(JobRun& run, std::unique_ptr<KitEntryData> data, bool reports) {
    FileCounts counts;
    InstallTransaction::StagedFiles staged;
    try {
        InstallTakenChunks(run, *data, reports, counts, staged);
    } catch (const std::exception&) {
        // Out of memory on either thread: the run stops and is undone, where
        // the exception would have ended the process.
        run.queue.Stop(ErrorFromErrno(ENOMEM));
    }
    run.transaction.Discard(staged);
    run.progress.AddCounts(counts);
}

std::size_t InstallingThreads(std::size_t entries) { return entries > kChunk ? 2 : 1; }

// Each installing thread's way to the data: reader `reader` of the stream,
// or the image through `buffer`.
std::unique_ptr<KitEntryData> DataFor(const JobRun& run, std::size_t reader, std::span<unsigned char> buffer) {
    if (run.stream != nullptr) return std::make_unique<StreamEntryData>(*run.stream, run.kit.entries, reader);
    return std::make_unique<ImageEntryData>(run.kit, buffer);
}

// Creating, writing and renaming small files is mostly the kernel's work, and
// a second thread does it beside the first at nearly no cost. Without the
// thread the worker installs every entry alone.
void InstallAllEntries(JobRun& run) {
    std::unique_ptr<KitEntryData> data;
    try {
        data = DataFor(run, 0, {run.kit.copyBuffer.get(), run.kit.copyBufferSize});
    } catch (const std::exception&) {  // not even that: nothing is installed, and the run is undone
        run.queue.Stop(ErrorFromErrno(ENOMEM));
        return;
    }
    std::unique_ptr<unsigned char[]> helperBuffer;
    std::thread helper;
    if (InstallingThreads(run.queue.count()) > 1) {
        // Destroyed here unless the thread took it: a stream's reader that never starts leaves at once.
        std::unique_ptr<KitEntryData> helperData;
        try {
            // Reading from the stream, a thread needs no buffer of its own.
            if (run.stream == nullptr) helperBuffer.reset(new unsigned char[run.kit.copyBufferSize]);
            helperData = DataFor(run, 1, {helperBuffer.get(), helperBuffer ? run.kit.copyBufferSize : 0});
            helper = std::thread(InstallChunks, std::ref(run), std::move(helperData), false);
        } catch (const std::exception&) {  // no thread or no buffer: the worker goes alone
        }
    }
    InstallChunks(run, std::move(data), true);
    if (helper.joinable()) helper.join();
}

// The run's template directory, also when the plan could not reach it.
std::string JobTarget(const InstallTransaction& transaction, ProgressState& progress) {
    if (!transaction.target().empty()) return transaction.target();
    AString target;
    return ToSystemPath(progress.ReadJob().target, &target) ? std::string(target.c_str(), target.size()) : std::string();
}

// The kit's files the undo left where the run had created them; the run's
// own record is no file of the kit.
void AddCreatedLeft(const RollbackOutcome& outcome, RunSummary& summary) {
    for (const std::string& path : outcome.createdLeft) {
        if (std::string_view(path).substr(0, path.find('/')) != kRecordFolder) summary.created.push_back(path);
    }
}

// The report follows the rollback, so no page claims an unchanged directory
// while files are still being put back, or when some could not be.
// A non-empty `reason` replaces the message the code would give.
ErrorCode EndWithRollback(InstallTransaction& transaction, ProgressState& progress, ErrorCode code,
                          std::int32_t percent, const WString& reason = WString()) {
    const RollbackOutcome outcome = transaction.Rollback();
    const char* text = code == ERR_CANCELLED ? "IDS_CANCEL_FINISH" : "IDS_INSTALL_ERROR";
    if (code == ERR_DISK_FULL) text = "IDS_ERROR_NOSPACE_TARGET";
    if (code == ERR_BUSY) text = "IDS_DIRECTORY_BUSY";
    if (code == ERR_NESTED_BUSY) text = "IDS_DIRECTORY_NESTED_BUSY";
    if (code == ERR_NO_RECORD) text = "IDS_NO_RECORD";
    std::string kept = outcome.keptBackup;
    WString shown = reason.empty() ? LoadResString(text) : reason;
    // A bare "installation error" names the cause when the directory shows it.
    if (reason.empty() && std::string_view(text) == "IDS_INSTALL_ERROR") {
        const std::string target = JobTarget(transaction, progress);
        if (const char* problem = TargetProblem(target)) shown = LoadResString(problem) + u" " + ToWString(target.c_str());
    }
    if (code == ERR_NO_RECORD) shown += u" " + progress.ReadJob().target;
    if (code == ERR_RECORD_OBSTRUCTED) {
        shown = LoadResString("IDS_RECORD_NOT_FOLDER") + u" " +
                ToWString((JobTarget(transaction, progress) + kRecordFolder).c_str());
    }
    if (code == ERR_EARLIER_RUN_KEPT) {
        kept = transaction.keptByEarlierRun();
        shown = LoadResString("IDS_RECOVERED_PARTLY") + u" " + progress.ReadJob().target;
    }
    if (code == ERR_JOURNAL_WAITING || code == ERR_ROLLBACK_UNFINISHED) {
        shown = KeptJournalText(transaction.journalKeptForEarlierRun());
    }
    if (code == ERR_FILE_APPEARED || code == ERR_FILE_CHANGED) {
        shown = LoadResString(code == ERR_FILE_APPEARED ? "IDS_FILE_APPEARED" : "IDS_FILE_CHANGED") + u" " +
                progress.ReadJob().target + ToWString(transaction.appearedFile().c_str());
    }
    // Something of the run stayed and the journal with it: never "as it was".
    if (outcome.unfinished && kept.empty()) {
        code = ERR_ROLLBACK_UNFINISHED;
        shown = LoadResString("IDS_ROLLBACK_UNFINISHED") + u" " + progress.ReadJob().target;
    }
    // A run that ends so has undone what it could: its summary names only the directory, the kit, a kept backup
    // and the files the undo had to leave.
    auto summary = std::make_shared<RunSummary>();
    summary->kind = progress.ReadJob().kind;
    transaction.DescribeSubject(*summary);
    summary->keptBackupFolder = kept;
    AddCreatedLeft(outcome, *summary);
    progress.SetSummary(std::move(summary));
    progress.PostProgress(code, shown, percent, kept.empty() ? WString() : ToWString(kept.c_str()));
    return code;
}

// A kit that cannot be unpacked, or whose data turns out damaged while it is
// installed: told as the same trouble found at the start would be.
ErrorCode EndWithKitFailure(InstallTransaction& transaction, ProgressState& progress, ErrorCode kitCode,
                            std::int32_t percent) {
    if (!IsKitOpenFailure(kitCode)) return EndWithRollback(transaction, progress, kitCode, percent);
    return EndWithRollback(transaction, progress, ERR_KIT_NOT_UNPACKED, percent,
                           LoadResString(KitOpenFailureMessage(kitCode)));
}

// The kit's data for the run, as it is inflated when the entries lie in
// their order (and a thread can be started), else from its unpacked image.
ErrorCode PrepareKitData(KitReader& kit, std::size_t threads, std::unique_ptr<KitStream>* stream) {
    if (EntriesInStreamOrder(kit.entries)) *stream = KitStream::Start(kit, threads);
    return *stream ? ERR_NONE : KitOpenImage(kit);
}

bool IsUsableFolder(const std::string& folder) {
    struct stat status {};
    return !folder.empty() && stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           access(folder.c_str(), W_OK | X_OK) == 0;
}

// A start that fails before any change: when the journals have nowhere to
// go, the user learns which folder it is, not only that something failed.
WString BeginFailureMessage(ErrorCode code) {
    if (code != ERR_CANT_WRITE) return WString();
    const std::string journals = JournalFolder();
    if (IsUsableFolder(journals)) return WString();
    return LoadResString("IDS_ERROR_JOURNALDIR") + u" " + ToWString(journals.c_str());
}

}  // namespace

// What the run did, handed over before the report that ends the job.
void HandOverSummary(const InstallTransaction& transaction, ProgressState& progress, RunSummary::Kind kind) {
    auto summary = std::make_shared<RunSummary>();
    summary->kind = kind;
    transaction.Describe(*summary);
    progress.SetSummary(std::move(summary));
}


ErrorCode RunInstallJob(InstallTransaction& transaction, ProgressState& progress) {
    const JobParameters job = progress.ReadJob();
    KitReader& kit = *job.job;
    const bool uninstall = job.kind == RunSummary::Kind::Uninstall;
    const RecordOptions options{uninstall ? RecordOptions::Kind::Uninstall : RecordOptions::Kind::Install,
                                IdentityOfKit(kit.descriptions)};
    ErrorCode code = transaction.Plan(job.target, kit.entries, options);
    if (code == ERR_INVALID_DATA) return EndWithKitFailure(transaction, progress, code, 0);
    if (code == ERR_NONE) code = transaction.CheckSpace();
    // The lock file lives beside the journals: a folder for them is needed from the plan on.
    if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, 0, BeginFailureMessage(code));
    // A kit read for its directory first: its data is inflated while the
    // files are written, or, where its entries are out of order, unpacked
    // now, before anything changes.
    std::unique_ptr<KitStream> stream;
    const std::size_t count = uninstall ? 0 : kit.entries.size();
    if (transaction.NeedsKitData()) {
        code = PrepareKitData(kit, InstallingThreads(count), &stream);
        if (code != ERR_NONE) return EndWithKitFailure(transaction, progress, code, 0);
    }
    code = transaction.Begin();
    if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, 0, BeginFailureMessage(code));

    // An uninstallation writes none of the kit's files: all it does is in FinishRecord.
    JobRun run{transaction, kit, progress, job.target, EntryQueue(count, kChunk), stream.get()};
    InstallAllEntries(run);
    // Damage found in the stream, or a stream shorter than its directory says, is the kit's.
    code = stream ? stream->damage() : ERR_NONE;
    if (code == ERR_NONE && stream && !run.queue.stopped()) code = stream->Finish(KitImageEnd(kit.entries));
    stream.reset();
    if (code != ERR_NONE) return EndWithKitFailure(transaction, progress, code, PercentBefore(run.queue.done(), count));
    if (run.queue.stopped()) {
        return EndWithRollback(transaction, progress, run.queue.failure(), PercentBefore(run.queue.done(), count));
    }
    // A stop asked for during the last entry still leaves the directory as it was.
    if (progress.IsCancelRequested()) return EndWithRollback(transaction, progress, ERR_CANCELLED, 100);
    code = transaction.FinishRecord();
    if (code == ERR_NONE) code = transaction.Commit();
    if (code != ERR_NONE) return EndWithRollback(transaction, progress, code, 100);
    // A directory the kit itself made goes with it, only when nothing else is left in it.
    if (transaction.targetMayGo()) (void)rmdir(transaction.target().c_str());
    HandOverSummary(transaction, progress, job.kind);
    progress.PostProgress(ERR_NONE, LoadResString(uninstall ? "IDS_UNINSTALL_FINISH" : "IDS_INSTALL_FINISH"), 100);
    return ERR_NONE;
}
