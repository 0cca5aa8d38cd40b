#include "util/Logging.h"

Q_LOGGING_CATEGORY(lcBranding, "zolt.branding", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcFeeds, "zolt.feeds", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcNet, "zolt.net", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcNews, "zolt.news", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcToolkit, "zolt.toolkit", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcUpdate, "zolt.update", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcUtil, "zolt.util", QtCriticalMsg)
