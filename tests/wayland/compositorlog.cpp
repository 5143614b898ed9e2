#include "compositorlog.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

namespace {

// One client request; the object ids are the client's own, so they are keyed with the client.
const QRegularExpression kRequest(
    QStringLiteral(R"(client (\S+) rq (\w+)@(\d+)\.(\w+)\((.*)\)\s*$)"));
const QRegularExpression kNewRegion(QStringLiteral(R"(new id wl_region@(\d+))"));
const QRegularExpression kRectangle(QStringLiteral(R"(^(-?\d+), (-?\d+), (-?\d+), (-?\d+)$)"));
const QRegularExpression kRegionArgument(QStringLiteral(R"(^wl_region@(\d+)$)"));

QString Key(const QString& client, const QString& id) {
    return client + QLatin1Char('/') + id;
}

struct TRequest {
    QString client;
    QString interface;
    QString id;
    QString request;
    QString arguments;
};

// The regions each client has made so far and the input region of each live surface.
struct TRegionState {
    QHash<QString, QRegion> regions;
    QHash<QString, QRegion> inputs;
};

void ApplyToRegion(const TRequest& r, TRegionState& state) {
    const auto rectangle = kRectangle.match(r.arguments);
    if (!rectangle.hasMatch()) {
        return;
    }
    const QRect bounds(rectangle.captured(1).toInt(), rectangle.captured(2).toInt(),
                       rectangle.captured(3).toInt(), rectangle.captured(4).toInt());
    QRegion& region = state.regions[Key(r.client, r.id)];
    if (r.request == QLatin1String("add")) {
        region += bounds;
    } else if (r.request == QLatin1String("subtract")) {
        region -= bounds;
    }
}

void ApplyToSurface(const TRequest& r, TRegionState& state) {
    const QString surface = Key(r.client, r.id);
    if (r.request == QLatin1String("destroy")) {
        state.inputs.remove(surface);
    } else if (r.request == QLatin1String("set_input_region")) {
        const auto region = kRegionArgument.match(r.arguments);
        if (region.hasMatch()) {
            state.inputs[surface] = state.regions.value(Key(r.client, region.captured(1)));
        } else {
            state.inputs.remove(surface);
        }
    }
}

void Apply(const TRequest& r, TRegionState& state) {
    if (r.interface == QLatin1String("wl_compositor") &&
        r.request == QLatin1String("create_region")) {
        const auto created = kNewRegion.match(r.arguments);
        if (created.hasMatch()) {
            state.regions[Key(r.client, created.captured(1))] = QRegion();
        }
    } else if (r.interface == QLatin1String("wl_region")) {
        ApplyToRegion(r, state);
    } else if (r.interface == QLatin1String("wl_surface")) {
        ApplyToSurface(r, state);
    }
}

}  // namespace

TCompositorLog::TCompositorLog() : path_(QString::fromLocal8Bit(qgetenv("DERO_WESTON_LOG"))) {}

std::vector<QRegion> TCompositorLog::InputRegions() const {
    QFile log(path_);
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    TRegionState state;
    while (!log.atEnd()) {
        const QString line = QString::fromUtf8(log.readLine());
        const auto request = kRequest.match(line);
        if (request.hasMatch()) {
            Apply({request.captured(1), request.captured(2), request.captured(3),
                   request.captured(4), request.captured(5)},
                  state);
        }
    }
    return {state.inputs.cbegin(), state.inputs.cend()};
}
