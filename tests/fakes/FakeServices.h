#pragma once
#include "fakes/FakeCaseFolding.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeRandom.h"
#include "fakes/FakeRecentStore.h"
#include "fakes/FakeRecoveryPlace.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeStrings.h"
#include "platform/Platform.h"

// Every service outside the dialog as a fake, and the Platform made of them.
struct FakeServices {
    FakeServices() = default;
    // `platform` refers to the members; a copy would refer to the original's.
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    FakeMessageBoxes boxes;
    FakeFileSystem files;
    FakeFileDialogs fileDialogs;
    FakeStrings strings;
    FakeCaseFolding caseFolding;
    FakeRecentStore recentStore;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeRandom random;
    FakeRecoveryPlace recovery{files};
    Platform platform{boxes, files,    fileDialogs, strings, caseFolding,
                      clock, settings, random,      recovery};
};
