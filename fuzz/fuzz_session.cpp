// A user working with a hostile catalogue: a fuzzed catalogue, then a fuzzed
// sequence of what the window lets the user do (choose a model, a zoom end,
// an aspect ratio, a unit, a position; type a value into a field and confirm
// it; save the calculation and open it again). After every step the stored
// state must hold together: nothing non-finite, width, height and diagonal of
// one picture shape, the distance and the offsets on the model's lens line,
// and the options shown matching the state. A saved file must read back to
// what was saved and open to the same state.
//
// Input: the catalogue's bytes, then the line "#ops", then one step a line:
//   m N   choose list entry N        z N   zoom end N        a N   aspect N
//   u N   unit N                     p N   position N
//   f N   "Other" format N (past the list: a typed ratio 1 + (N mod 751) / 250)
//   k N   anamorphic factor 1 + N / 500 (past 2: refused)
//   t F TEXT   type TEXT into field F and press the Enter button
//   e F TEXT   ... and press the Enter key     l F TEXT   ... and leave the field
//   s     save and open again
// Numbers are taken modulo the choices there are; a disabled option is not
// clicked, as the window would not let the user.

#include "calc/lens.h"
#include "core/numbers.h"
#include "files/calcfile.h"
#include "files/modelloader.h"
#include "fuzzcalc.h"
#include "fuzzsupport.h"
#include "session/calculationfile.h"
#include "session/lighttext.h"
#include "session/roomtext.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

using vistrel::CalcState;
using vistrel::Calculator;
using vistrel::fuzz::fail;

constexpr qsizetype kMaxSteps = 48;
const QByteArray kStepsMarker = "\n#ops\n";

// Equal up to the rounding of a few operations on numbers of size `scale`,
// or within `floor`.
bool near(double a, double b, double scale, double floor = 1e-300) {
    return std::fabs(a - b) <= 1e-9 * (std::fabs(scale) + std::fabs(a) + std::fabs(b)) + floor;
}

QString describe(const Calculator &calc) {
    const CalcState &s = calc.state();
    return QStringLiteral("model %1 zoom %2 aspect %3/%4 unit %5: distance %6 diagonal %7 width %8 "
                          "height %9 offsets %10 %11")
        .arg(calc.currentModel() ? calc.currentModel()->name : QStringLiteral("-"))
        .arg(vistrel::codeOf(s.zoomEnd))
        .arg(s.aspectHeight)
        .arg(s.aspectWidth)
        .arg(vistrel::codeOf(s.unit))
        .arg(vistrel::formatShortest(s.projectionDistance),
             vistrel::formatShortest(s.screenDiagonal), vistrel::formatShortest(s.screenWidth),
             vistrel::formatShortest(s.screenHeight), vistrel::formatShortest(s.offsetA),
             vistrel::formatShortest(s.offsetB));
}

// Whether the four lengths and the offsets belong to one picture on the
// current model's lens line.
bool onTheLensLine(const Calculator &calc) {
    const CalcState &s = calc.state();
    const vistrel::ModelRecord *model = calc.currentModel();
    if (!model || s.aspectHeight == 0)
        return false;
    const double ratio = s.aspectWidth / s.aspectHeight;
    const vistrel::Lens lens = vistrel::lensOf(*model, s);
    const vistrel::AspectPair aspect{s.aspectHeight, s.aspectWidth};
    const bool tele = s.zoomEnd == vistrel::Zoom::Tele;
    const double a = tele ? model->lens[vistrel::Zoom::Tele].a : model->lens[vistrel::Zoom::Wide].a;
    const double b = tele ? model->lens[vistrel::Zoom::Tele].b : model->lens[vistrel::Zoom::Wide].b;
    const double lensScale = std::fabs(a * s.projectionDistance) + std::fabs(b);
    // A distance too small for a double (it underflowed on the way from the
    // diagonal) moves the diagonal by up to the slope times the smallest
    // numbers a double holds.
    const double underflow = std::fabs(a) * 1e-300;
    return near(s.aspectRatio, ratio, ratio) &&
           near(s.screenWidth, ratio * s.screenHeight, s.screenWidth) &&
           // A lens line below zero gives a picture of negative size, all
           // three lengths negative alike.
           near(std::fabs(s.screenDiagonal), std::hypot(s.screenWidth, s.screenHeight),
                s.screenDiagonal) &&
           near(s.screenDiagonal,
                lens.diagonalFromDistance(s.projectionDistance, s.zoomEnd, aspect),
                lensScale + s.screenDiagonal, underflow + 1e-300) &&
           near(s.offsetA,
                lens.offsetFromHeight(s.screenHeight,
                                      tele ? model->offsetCoefs[vistrel::Zoom::Tele].a
                                           : model->offsetCoefs[vistrel::Zoom::Wide].a,
                                      aspect),
                s.screenHeight) &&
           near(s.offsetB,
                lens.offsetFromHeight(s.screenHeight,
                                      tele ? model->offsetCoefs[vistrel::Zoom::Tele].b
                                           : model->offsetCoefs[vistrel::Zoom::Wide].b,
                                      aspect),
                s.screenHeight);
}

// The options the controls show are the ones in the state, and 16 : 9 only
// where the model has a rule for it.
bool optionsAgree(const Calculator &calc) {
    const CalcState &s = calc.state();
    const vistrel::Controls &c = calc.controls();
    const vistrel::ModelRecord *model = calc.currentModel();
    static constexpr double kHeights[] = {3, 4, 9};
    static constexpr double kWidths[] = {4, 5, 16};
    if (!model || c.aspect.has_value() == c.otherChosen)
        return false;
    if (c.otherChosen)
        return s.aspectWidth == c.otherFormat.width && s.aspectHeight == c.otherFormat.height &&
               model->offers169() && c.wideScreenEnabled;
    const auto i = static_cast<std::size_t>(*c.aspect);
    return c.zoom == s.zoomEnd && c.unit == s.unit && c.position == s.screenPosition &&
           s.aspectHeight == kHeights[i] && s.aspectWidth == kWidths[i] &&
           (i != 2 || model->offers169()) && c.wideScreenEnabled == model->offers169();
}

// How far apart two distances may lie that give the same stored diagonal:
// where the lens line is almost flat, the diagonal hardly fixes the distance.
double distancePrecision(const Calculator &calc, const CalcState &s) {
    const vistrel::ModelRecord *model = calc.currentModel();
    if (!model)
        return 0;
    const bool tele = s.zoomEnd == vistrel::Zoom::Tele;
    const double a =
        std::fabs(tele ? model->lens[vistrel::Zoom::Tele].a : model->lens[vistrel::Zoom::Wide].a);
    const double b =
        std::fabs(tele ? model->lens[vistrel::Zoom::Tele].b : model->lens[vistrel::Zoom::Wide].b);
    return a == 0 ? 0 : 1e-12 * (std::fabs(s.screenDiagonal) + b) / a;
}

class Session {
public:
    explicit Session(std::vector<vistrel::ModelRecord> models) : calc_(observer_) {
        calc_.setMessages(vistrel::messagesFrom(vistrel::fuzz::shippedTexts()));
        started_ = calc_.startUp(std::move(models)) && observer_.errors == 0;
        if (started_)
            check(QStringLiteral("start-up"));
    }
    bool started() const { return started_; }

    void step(QStringView line) {
        if (line.isEmpty())
            return;
        const QChar op = line.front();
        const QStringView rest = line.mid(1).trimmed();
        const int errorsBefore = observer_.errors;
        if (op == u's') {
            saveAndReopen();
        } else if (op == u't' || op == u'e' || op == u'l') {
            type(op, rest);
        } else if (op == u'r') {
            typeIntoRoom(rest);
        } else if (op == u'g') {
            typeIntoLight(rest);
        } else {
            choose(op, number(rest));
        }
        if (observer_.errors > errorsBefore)
            dirty_ = true; // an error box may leave the results of before
        check(line.toString());
    }

private:
    static int number(QStringView text) {
        const double v = vistrel::leadingNumber(text);
        return std::isfinite(v) ? static_cast<int>(std::fmod(std::fabs(v), 1000.0)) : 0;
    }

    // The engine refuses a choice the model does not offer, and only that;
    // an offered one may still fail in its recalculation, which it has shown.
    static void requireRefusedOnlyWhenLacking(const vistrel::Result<void> &chosen, bool offered,
                                              const char *fault) {
        const bool refused =
            !chosen.ok() && chosen.error().description.contains(QLatin1String("does not offer"));
        vistrel::fuzz::require(refused == !offered, fault);
    }

    void choose(QChar op, int n) {
        const vistrel::Controls &c = calc_.controls();
        switch (op.unicode()) {
        case 'm':
            // A model whose lens data fail is reported, not taken: what the fuzzer explores.
            if (!c.modelItems.isEmpty() &&
                !calc_.selectModel(n % static_cast<int>(c.modelItems.size())))
                break;
            break;
        // The engine refuses what the model does not offer, and only that.
        case 'z': {
            const vistrel::Zoom zoom = *vistrel::choiceOf<vistrel::Zoom>(n % 2);
            const bool offered = c.zoomEnabled[static_cast<std::size_t>(zoom)] || c.zoom == zoom;
            requireRefusedOnlyWhenLacking(calc_.select(zoom), offered,
                                          "a zoom end was refused or taken wrongly");
            break;
        }
        case 'a': {
            const vistrel::Aspect aspect = *vistrel::choiceOf<vistrel::Aspect>(n % 3);
            const bool offered = c.enabled(aspect) || c.aspect == aspect;
            requireRefusedOnlyWhenLacking(calc_.select(aspect), offered,
                                          "an aspect ratio was refused or taken wrongly");
            break;
        }
        case 'f': {
            const auto i = static_cast<std::size_t>(n);
            const vistrel::PictureFormat format =
                i < vistrel::kOtherFormats.size()
                    ? vistrel::PictureFormat{vistrel::kOtherFormats[i].width,
                                             vistrel::kOtherFormats[i].height}
                    : vistrel::PictureFormat{1 + (n % 751) / 250.0, 1};
            const bool known = vistrel::aspectOf(format).has_value();
            const bool offered =
                c.wideScreenEnabled || known || (c.otherChosen && c.otherFormat == format);
            if (!known)
                requireRefusedOnlyWhenLacking(calc_.select(format), offered,
                                              "a picture format was refused or taken wrongly");
            break;
        }
        case 'k': {
            const double factor = 1 + n / 500.0;
            const vistrel::Result<void> chosen = calc_.selectAnamorphic(factor);
            vistrel::fuzz::require(chosen.ok() || factor > vistrel::kLargestAnamorphic ||
                                       !chosen.error().description.isEmpty(),
                                   "an anamorphic factor failed without a reason");
            break;
        }
        case 'u':
            requireRefusedOnlyWhenLacking(calc_.select(*vistrel::choiceOf<vistrel::Unit>(n % 3)),
                                          true, "a unit was refused");
            break;
        case 'p':
            requireRefusedOnlyWhenLacking(
                calc_.select(*vistrel::choiceOf<vistrel::Position>(n % 2)), true,
                "a position was refused");
            break;
        default:
            break;
        }
    }

    // Typed into a field and confirmed; the three ways of confirming (the
    // button, Enter, leaving the field) come to the same.
    void type(QChar, QStringView rest) {
        const auto field = vistrel::choiceOf<vistrel::Field>(number(rest.left(1)) % 4);
        // Refusals and failed calculations are what the fuzzer explores; a
        // failure must at least say why.
        const vistrel::Result<vistrel::Entered> entered =
            calc_.enter(*field, rest.mid(1).toString());
        vistrel::fuzz::require(entered.ok() || !entered.error().description.isEmpty(),
                               "a typed value failed without a reason");
    }

    // A room input as the planner window takes it: refused with a reason or
    // taken as a room the planner accepts.
    void typeIntoRoom(QStringView rest) {
        const auto input = static_cast<vistrel::RoomInput>(number(rest.left(1)) % 9);
        const vistrel::Result<vistrel::RoomSettings> typed = vistrel::withRoomInput(
            room_, input, rest.mid(1), calc_.state().unit, vistrel::fuzz::shippedTexts(), u'.');
        if (!typed) {
            vistrel::fuzz::require(!typed.error().description.isEmpty(),
                                   "a room input was refused without a reason");
            return;
        }
        vistrel::fuzz::require(vistrel::checkRoom(*typed).ok(), "a room input took a bad room");
        room_ = *typed;
    }

    // A light input as the planner window takes it, then the light budget:
    // every figure finite where it is known.
    void typeIntoLight(QStringView rest) {
        const auto input = static_cast<vistrel::LightInput>(number(rest.left(1)) % 3);
        const vistrel::Result<vistrel::PlannerSettings> typed = vistrel::withLightInput(
            light_, input, rest.mid(1), vistrel::fuzz::shippedTexts(), u'.');
        if (!typed) {
            vistrel::fuzz::require(!typed.error().description.isEmpty(),
                                   "a light input was refused without a reason");
            return;
        }
        vistrel::fuzz::require(vistrel::checkSettings(*typed).ok(),
                               "a light input took bad settings");
        light_ = *typed;
    }

    void checkLight(const QString &context) const {
        const vistrel::ModelRecord *model = calc_.currentModel();
        if (!model)
            return;
        const vistrel::Plan plan = vistrel::planOf(*model, calc_.state(), light_);
        const auto finite = [](const std::optional<double> &v) { return !v || std::isfinite(*v); };
        for (const vistrel::TargetFigures &t : vistrel::targetFigures(plan, light_)) {
            if (!finite(t.lumens) || !finite(t.ratedLumens) || !finite(t.ratio))
                fail("a light target's figure is not finite", context);
        }
        for (const vistrel::TaskFigures &t : vistrel::taskFigures(*model, plan, light_)) {
            if (!finite(t.whiteNits) || !finite(t.lumens) || (t.whiteNits && *t.whiteNits < 0))
                fail("a viewing task's figure is not finite or below 0", context);
        }
    }

    // The room's words and both drawings for the calculation as it is: every
    // point finite and within the drawing's bounds.
    void checkRoom(const QString &context) const {
        const vistrel::ModelRecord *model = calc_.currentModel();
        if (!model || room_.isEmpty())
            return;
        const vistrel::LanguageTexts &texts = vistrel::fuzz::shippedTexts();
        const vistrel::Unit unit = calc_.state().unit;
        const vistrel::RoomReport report =
            vistrel::roomReportOf(room_, vistrel::roomPictureOf(*model, calc_.state()));
        static_cast<void>(vistrel::roomLines(report, room_, unit, texts, u'.'));
        static_cast<void>(vistrel::roomProblems(report, room_, unit, texts, u'.'));
        static_cast<void>(vistrel::seatTable(report, room_, unit, texts, u'.'));
        const vistrel::RoomLengthText length = vistrel::roomLengthWriter(unit, texts, u'.');
        for (const vistrel::RoomDrawing &drawing :
             {vistrel::elevationDrawing(vistrel::elevationInputOf(report, room_, texts), length),
              vistrel::roomPlanDrawing(vistrel::planInputOf(report, room_, texts, u'.'), length)}) {
            const auto inside = [&](const vistrel::RoomPoint &p) {
                return std::isfinite(p.x) && std::isfinite(p.y) && p.x >= drawing.left &&
                       p.x <= drawing.right && p.y >= drawing.bottom && p.y <= drawing.top;
            };
            for (const vistrel::RoomStroke &stroke : drawing.strokes) {
                if (!inside(stroke.from) || !inside(stroke.to))
                    fail("a room drawing's stroke lies outside its bounds", context);
            }
            for (const vistrel::RoomShape &shape : drawing.shapes) {
                if (!std::all_of(shape.points.begin(), shape.points.end(), inside))
                    fail("a room drawing's shape lies outside its bounds", context);
            }
        }
    }

    // As File > Save and File > Open do, through a file in memory.
    void saveAndReopen() {
        // A calculation file holds neither another format nor the lens.
        if (calc_.controls().otherChosen || calc_.state().anamorphic != vistrel::kNoAnamorphic)
            return;
        const vistrel::CalcFileData saved = vistrel::snapshotOf(calc_);
        const QByteArray bytes = vistrel::formatCalcFile(saved);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        const auto read = vistrel::readCalcFile(buffer, QStringLiteral("session.cf"));
        if (!read)
            fail("a saved calculation file does not read back",
                 read.error().description + u'\n' + QString::fromUtf8(bytes));
        if (!(*read == saved))
            fail("a saved calculation file reads back to other data", QString::fromUtf8(bytes));

        const CalcState before = calc_.state();
        const bool firstOfItsName = [&] {
            const auto &models = calc_.models();
            const auto first =
                std::find_if(models.begin(), models.end(), [&](const vistrel::ModelRecord &m) {
                    return m.name == saved.model.name;
                });
            return first - models.begin() == before.modelIndex;
        }();
        const QString context = describe(calc_);
        const int errorsBefore = observer_.errors;
        const vistrel::Result<void> opened = calc_.restore(vistrel::restoreRequestFrom(*read));
        if (!opened)
            dirty_ = true; // the window shows this error box too
        if (!opened || observer_.errors > errorsBefore || dirty_ || !firstOfItsName ||
            !(before.minDiagonal <= before.maxDiagonal))
            return;
        const CalcState &after = calc_.state();
        const bool same =
            after.modelIndex == before.modelIndex && after.zoomEnd == before.zoomEnd &&
            after.screenPosition == before.screenPosition && after.unit == before.unit &&
            after.aspectHeight == before.aspectHeight && after.aspectWidth == before.aspectWidth &&
            after.screenDiagonal == before.screenDiagonal &&
            near(after.screenWidth, before.screenWidth, before.screenWidth) &&
            near(after.screenHeight, before.screenHeight, before.screenHeight) &&
            near(after.projectionDistance, before.projectionDistance, before.projectionDistance,
                 distancePrecision(calc_, before));
        if (!same)
            fail("opening a saved calculation gives another state",
                 context + QStringLiteral("\nopened as\n") + describe(calc_) + u'\n' +
                     QString::fromUtf8(bytes));
    }

    void check(const QString &what) {
        const QString context = what + u'\n' + describe(calc_);
        vistrel::fuzz::checkCalculator(calc_, context);
        checkRoom(context);
        checkLight(context);
        if (!optionsAgree(calc_))
            fail("the options shown are not those of the state", context);
        // A model whose smallest diagonal exceeds its largest refuses every
        // diagonal and so keeps the results it had: nothing to hold together.
        const CalcState &s = calc_.state();
        const bool refusesAll = !(s.minDiagonal <= s.maxDiagonal);
        const bool consistent = onTheLensLine(calc_);
        if (consistent)
            dirty_ = false;
        else if (!dirty_ && !refusesAll)
            fail("the stored lengths are not on the model's lens line", context);
    }

    vistrel::fuzz::RecordingObserver observer_;
    Calculator calc_;
    vistrel::RoomSettings room_;
    vistrel::PlannerSettings light_;
    bool started_ = false;
    bool dirty_ = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input = vistrel::fuzz::inputBytes(data, size);
    const qsizetype marker = input.indexOf(kStepsMarker);
    QBuffer catalogue;
    catalogue.setData(marker < 0 ? input : input.left(marker));
    catalogue.open(QIODevice::ReadOnly);
    auto loaded = vistrel::loadCatalogue(catalogue, QStringLiteral("session.ini"));
    if (!loaded || loaded->models.empty())
        return 0;
    Session session(std::move(loaded->models));
    if (!session.started() || marker < 0)
        return 0;
    const QString steps = QString::fromUtf8(input.mid(marker + kStepsMarker.size()));
    vistrel::LineCursor cursor(steps);
    QStringView line;
    for (qsizetype n = 0; n < kMaxSteps && cursor.next(line); ++n)
        session.step(line);
    return 0;
}
