#pragma once

#include "DispatcherAdapters.h"
#include "frmMemo.h"
#include "input/CKeyMapping.h"
#include "input/CMRUCombo.h"
#include "input/widgets/HistoryComboAdapter.h"

#include "desktop/CAppActive.h"
#include "desktop/CHotKey.h"
#include "desktop/CLimitForm.h"
#include "desktop/CTray.h"
#include "engine/LineDispatcher.h"
#include "memo/MemoFiler.h"
#include "script/ConsoleHostServices.h"
#include "script/widgets/RunawayScriptGuard.h"
#include "script/widgets/WindowHostServices.h"

#include <memory>

// The long-lived objects the main window owns. Initialize creates them in its fixed order and
// Unload releases them in the reverse of their use.
struct frmMemo::Members {
    // The memos of the memo file; the memo pane views them, prose lines are filed into them.
    memo::MemoFiler memos;
    // The boxes and the shell of scripts run from the window, installed while the evaluator lives.
    std::unique_ptr<script::WindowHostServices> hostServices;
    std::unique_ptr<script::ScopedHostServices> hostServicesInstalled;
    // Lets the user stop a script that runs too long; watches every run of pEval.
    std::unique_ptr<script::RunawayScriptGuard> runGuard;
    std::unique_ptr<engine::IEvaluator> pEval;
    input::CMRUCombo history;
    std::unique_ptr<input::HistoryComboAdapter> historyAdapter;
    std::unique_ptr<input::CKeyMapping> KeyMapping;

    std::unique_ptr<app::HistoryPort> historyPort;
    std::unique_ptr<app::SystemClipboardPort> clipboardPort;
    std::unique_ptr<app::WindowPort> windowPort;
    std::unique_ptr<engine::LineDispatcher> dispatcher;

    std::unique_ptr<CTray> mTray;
    std::unique_ptr<CLimitForm> sizeLimiter;
    std::unique_ptr<CAppActive> mActive;
    std::unique_ptr<CHotKey> mHotKey;
};
