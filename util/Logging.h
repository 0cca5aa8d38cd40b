#pragma once

#include <QLoggingCategory>

// One category per subsystem. All of them are quiet by default (only
// critical messages pass); QT_LOGGING_RULES="zolt.*=true" shows everything,
// "zolt.news.warning=true" the refusals and failures of one subsystem.
Q_DECLARE_LOGGING_CATEGORY(lcBranding)
Q_DECLARE_LOGGING_CATEGORY(lcFeeds)
Q_DECLARE_LOGGING_CATEGORY(lcNet)
Q_DECLARE_LOGGING_CATEGORY(lcNews)
Q_DECLARE_LOGGING_CATEGORY(lcToolkit)
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
Q_DECLARE_LOGGING_CATEGORY(lcUtil)
