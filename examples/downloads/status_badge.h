#pragma once

#include <QString>

// What a download is doing, and the small badge its status cell shows for it.
enum class DownloadState { Queued, Downloading, Done };

// A rounded badge with a vertical gradient and the state's name, as a markup caption.
QString statusBadge(DownloadState state, int percent);
