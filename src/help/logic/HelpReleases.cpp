#include "help/logic/HelpReleases.h"

#include <array>
#include <utility>

namespace {

using Release = std::pair<const char *, const char *>;

constexpr std::array kViewerReleases{
    Release{"4.72.7290.00", "1.0"},
    Release{"4.72.7323.00", "1.1"},
    Release{"4.72.7325.00", "1.1a"},
    Release{"4.72.8164.00", "1.1b"},
    Release{"4.73.8252.00", "1.2"},
    Release{"4.73.8412.00", "1.21"},
    Release{"4.73.8474.00", "1.21a"},
    Release{"4.73.8561.00", "1.22"},
    Release{"4.74.8566.00", "1.3 Windows 2000 Beta"},
    Release{"4.74.8637.00", "1.3 IE 5.5 Platform Preview Beta"},
    Release{"4.74.8702.00", "1.3"},
};

constexpr std::array kBrowserReleases{
    Release{"4.70.1155.0000", "3.0"},
    Release{"4.70.1158.0000", "3.0 OSR2"},
    Release{"4.70.1215.0000", "3.02"},
    Release{"4.70.1300.0000", "3.02"},
    Release{"4.71.1008.3000", "4.0 PP2"},
    Release{"4.71.1712.5000", "4.0"},
    Release{"4.72.2106.7000", "4.01"},
    Release{"4.72.3110.0300", "4.0 SP1"},
    Release{"4.72.3612.1707", "4.0 SP2"},
    Release{"5.00.0518.5000", "5.0 beta 1"},
    Release{"5.00.0910.1308", "5.0 beta 2"},
    Release{"5.00.2014.2130", "5.0"},
    Release{"5.00.2314.1000", "5.0a (Office 2000)"},
    Release{"5.00.2614.3500", "5.0b (Windows 98 SE)"},
    Release{"5.00.2717.2000", "5.0c (Icon Security Issue Update)"},
    Release{"5.00.2721.1400", "5.0d (ImportExport Favorites Issue Update)"},
    Release{"5.00.2919.800", "5.x (Windows 2000 RC1, build 5.00.2072)"},
    Release{"5.00.2919.3800", "5.x (Windows 2000 RC2, build 5.00.2128)"},
    Release{"5.00.2919.6307", "5.01"},
    Release{"5.50.3825.1300", "5.5 Platform Preview"},
};

// In code order: viewer codes from 16, browser codes from 256.
constexpr std::array kViewerMinimums{"4.72.7290", "4.72.7323", "4.72.7325", "4.72.8164.0", "4.73.8252", "4.73.8412",
                                     "4.73.8474", "4.73.8561", "4.74.8566", "4.74.8637",   "4.74.8702"};

constexpr std::array kBrowserMinimums{"4.70.1155",      "4.70.1158",      "4.70.1215",      "4.70.1300",
                                      "4.71.1008.3",    "4.71.1712.5",    "4.72.2106.7",    "4.72.3110.03",
                                      "4.72.3612.1707", "5.00.0518.5",    "5.00.0910.1308", "5.00.2014.213",
                                      "5.00.2314.1000", "5.00.2614.3500", "5.0.2717.2000",  "5.00.2721.1400",
                                      "5.00.2919.800",  "5.00.2919.3800", "5.00.2919.6307", "5.50.3825.1300"};

static_assert(kViewerMinimums.size() == HelpReleases::kLastViewerCode - HelpReleases::kFirstViewerCode + 1);
static_assert(kBrowserMinimums.size() == HelpReleases::kLastBrowserCode - HelpReleases::kFirstBrowserCode + 1);

template<std::size_t N>
QString friendlyName(const std::array<Release, N> &releases, const QString &version)
{
    for (const auto &[release, name] : releases)
        if (version.compare(QLatin1String(release), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(name);
    return QStringLiteral("unknown");
}

template<std::size_t N>
std::optional<QString> minimum(const std::array<const char *, N> &minimums, int first, int code)
{
    if (code < first || code >= first + int(N))
        return std::nullopt;
    return QString::fromLatin1(minimums[std::size_t(code - first)]);
}

} // namespace

QString HelpReleases::viewerFriendlyName(const QString &version)
{
    return friendlyName(kViewerReleases, version);
}

QString HelpReleases::browserFriendlyName(const QString &version)
{
    return friendlyName(kBrowserReleases, version);
}

std::optional<QString> HelpReleases::minimumViewerVersion(int code)
{
    return minimum(kViewerMinimums, kFirstViewerCode, code);
}

std::optional<QString> HelpReleases::minimumBrowserVersion(int code)
{
    return minimum(kBrowserMinimums, kFirstBrowserCode, code);
}
