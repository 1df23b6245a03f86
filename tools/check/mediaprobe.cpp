#include "mediaprobe.h"

#include <QStringList>
#include <atomic>
#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>
#include <memory>
#include <thread>

namespace torvane::tools::check {

namespace {

template <typename T> struct GObjectDeleter {
    void operator()(T* object) const {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;

QString messageOf(GError* error, const char* otherwise) {
    return error != nullptr ? QString::fromUtf8(error->message) : QString::fromLatin1(otherwise);
}

bool hasStreams(GList* streams) {
    const bool any = streams != nullptr;
    gst_discoverer_stream_info_list_free(streams);
    return any;
}

// What is missing, as the installer details name it ("gstreamer|1.0|app|XVID video decoder|..."): ": the
// XVID video decoder", or nothing.
QString missingPlugins(GstDiscovererInfo* info) {
    QStringList names;
    if (const gchar** details = gst_discoverer_info_get_missing_elements_installer_details(info)) {
        for (const gchar** d = details; *d != nullptr; ++d) {
            const QStringList fields = QString::fromUtf8(*d).split(QLatin1Char('|'));
            if (fields.size() > 3 && !fields[3].isEmpty()) {
                names << fields[3];
            }
        }
    }
    return names.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(names.join(QStringLiteral(", ")));
}

MediaInfo decodeOne(GstDiscoverer* discoverer, const QString& path, std::chrono::milliseconds limit) {
    MediaInfo info;
    GError* rawError = nullptr;
    gchar* uri = gst_filename_to_uri(path.toLocal8Bit().constData(), &rawError);
    if (uri == nullptr) {
        GErrorPtr error(rawError);
        info.problem = messageOf(error.get(), "no address for the file");
        return info;
    }
    GObjectPtr<GstDiscovererInfo> found(gst_discoverer_discover_uri(discoverer, uri, &rawError));
    g_free(uri);
    GErrorPtr error(rawError);
    if (!found) {
        info.problem = messageOf(error.get(), "GStreamer gave no answer");
        return info;
    }
    switch (gst_discoverer_info_get_result(found.get())) {
    case GST_DISCOVERER_OK:
        info.decodes = true;
        info.video = hasStreams(gst_discoverer_info_get_video_streams(found.get()));
        info.audio = hasStreams(gst_discoverer_info_get_audio_streams(found.get()));
        break;
    case GST_DISCOVERER_TIMEOUT:
        info.problem =
            QStringLiteral("not decoded within %1 s").arg(static_cast<double>(limit.count()) / 1000.0);
        break;
    case GST_DISCOVERER_MISSING_PLUGINS:
        info.problem = QStringLiteral("GStreamer has no plugin for it") + missingPlugins(found.get());
        break;
    default:
        info.problem = messageOf(error.get(), "GStreamer cannot read it");
        break;
    }
    return info;
}

} // namespace

bool startGStreamer(QString& error) {
    GError* rawError = nullptr;
    if (gst_init_check(nullptr, nullptr, &rawError) == FALSE) {
        GErrorPtr owned(rawError);
        error = messageOf(owned.get(), "GStreamer did not start");
        return false;
    }
    return true;
}

std::map<QString, MediaInfo> decodeMedia(const std::vector<QString>& paths, int workers,
                                         std::chrono::milliseconds limit) {
    std::vector<MediaInfo> results(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        GError* rawError = nullptr;
        GObjectPtr<GstDiscoverer> discoverer(
            gst_discoverer_new(static_cast<GstClockTime>(limit.count()) * GST_MSECOND, &rawError));
        GErrorPtr error(rawError);
        for (std::size_t i = next++; i < paths.size(); i = next++) {
            if (discoverer) {
                results[i] = decodeOne(discoverer.get(), paths[i], limit);
            } else {
                results[i].problem = messageOf(error.get(), "GStreamer's discoverer did not start");
            }
        }
    };
    std::vector<std::thread> threads;
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(1, workers)), paths.size());
    for (std::size_t t = 0; t < count; ++t) {
        threads.emplace_back(work);
    }
    for (std::thread& t : threads) {
        t.join();
    }
    std::map<QString, MediaInfo> byPath;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        byPath.emplace(paths[i], results[i]);
    }
    return byPath;
}

} // namespace torvane::tools::check
