#pragma once

#include "app/TestClasses.h"
#include "app/model/AppModel.h"
#include "app/model/AppSettings.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/testing/DiskFixtures.h"
#include "engine/testing/ScriptedMetadata.h"

#include <QObject>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace morvane::app::testing {

// Settings over an INI file in a fresh temporary folder.
struct SettingsFixture {
    QTemporaryDir folder;
    QString file = folder.filePath("settings.ini");

    std::unique_ptr<QSettings> store() const {
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    }
    std::unique_ptr<AppSettings> make(std::vector<std::string> preferred = {"en-US"}) const {
        return std::make_unique<AppSettings>(store(), std::move(preferred));
    }
};

// A planner that counts its computations, remembers their inputs, and can be
// held at the start of one computation until released.
struct ScriptedPlanner {
    std::mutex lock;
    int started = 0;
    int finished = 0;
    std::vector<RenamePipeline> pipelines;
    std::vector<bool> sawStop;
    int holdComputation = -1; // 0-based number of the computation to hold
    QSemaphore held;          // released once the held computation has started
    QSemaphore release;       // the held computation goes on when released

    Planner planner() {
        return [this](const RenamePipeline& pipeline, const ItemList& items, std::stop_token stop) {
            int number = 0;
            {
                std::lock_guard guard(lock);
                number = started++;
                pipelines.push_back(pipeline);
            }
            if (number == holdComputation) {
                held.release();
                release.acquire();
            }
            // Runs to the end whatever `stop` says: the model alone must keep
            // an overtaken result from being published.
            RenamePlan plan = pipeline.plan(items);
            std::lock_guard guard(lock);
            sawStop.push_back(stop.stop_requested());
            ++finished;
            return std::optional(std::move(plan));
        };
    }
    int startedCount() {
        std::lock_guard guard(lock);
        return started;
    }
};

// A model over an in-memory disk, its own settings and empty preset and history folders.
struct ModelFixture {
    SettingsFixture settingsFixture;
    std::unique_ptr<AppSettings> settings = settingsFixture.make();
    std::shared_ptr<InMemoryFileSystem> disk = std::make_shared<InMemoryFileSystem>(true);
    QTemporaryDir presets;
    QTemporaryDir historyFolder;
    std::string history = historyFolder.path().toStdString() + "/History";
    std::shared_ptr<ScriptedPlanner> scripted = std::make_shared<ScriptedPlanner>();
    // The files' photo metadata and tags, as the test sets them.
    std::shared_ptr<morvane::testing::ScriptedMetadataReader> metadata =
        std::make_shared<morvane::testing::ScriptedMetadataReader>();

    AppModel::Environment environment(std::shared_ptr<FolderAccess> access = {}) {
        AppModel::Environment environment;
        environment.settings = settings.get();
        environment.access = access ? access : std::make_shared<FolderAccess>(disk);
        environment.presetDirectory = presets.path().toStdString();
        environment.historyDirectory = history;
        environment.planner = scripted->planner();
        environment.homeFolder = "/home/ana";
        environment.metadataReader = metadata;
        return environment;
    }
    std::unique_ptr<AppModel> make(std::shared_ptr<FolderAccess> access = {}) {
        return std::make_unique<AppModel>(environment(std::move(access)));
    }
};

// Waits for the next published plan.
inline bool waitForPlan(AppModel& model, int milliseconds = 5000) {
    QSignalSpy published(&model.preview(), &WindowPreview::planChanged);
    return published.wait(milliseconds);
}

inline bool waitForLoad(AppModel& model) {
    return QTest::qWaitFor([&] { return !model.items().loading(); }, 5000);
}

// Waits until the plan of the items loaded can be renamed, with `count` items to rename.
inline bool waitForRenamable(AppModel& model, std::size_t count) {
    return QTest::qWaitFor(
        [&] {
            return model.preview().summary().toRename == count &&
                   model.batches().confirmationSheet("").canRename;
        },
        5000);
}

inline bool waitForBatch(AppModel& model) {
    return QTest::qWaitFor([&] { return !model.batches().busy(); }, 20000);
}

using morvane::testing::slowed;

// Items in /d with names only.
inline ItemList namedItems(std::initializer_list<const char*> names) {
    ItemList result;
    for (const char* name : names) {
        result.emplace_back(name, "/d", Date{}, Date{}, 0, false, true);
    }
    return result;
}

// The entry of the item with this name in the model's plan.
inline const RenamePlan::Entry& entryNamed(const AppModel& model, const std::string& name) {
    for (const auto& entry : model.preview().plan().entries) {
        if (entry.item.name == name) {
            return entry;
        }
    }
    throw std::logic_error("no entry named " + name);
}

} // namespace morvane::app::testing
