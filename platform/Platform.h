#pragma once
#include "platform/CaseFolding.h"
#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/RandomSource.h"
#include "platform/RecoveryPlace.h"
#include "platform/SettingsStore.h"
#include "platform/StringResources.h"

// Everything outside the dialog that the core reaches, handed over once.
struct Platform {
    MessageBoxes& messageBoxes;
    FileSystem& files;
    FileDialogs& fileDialogs;
    StringResources& strings;
    CaseFolding& caseFolding;
    Clock& clock;
    SettingsStore& settings;
    RandomSource& random;
    RecoveryPlace& recovery;
};
