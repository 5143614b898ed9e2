#include "defaultskin.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <cmath>
#include <functional>
#include <map>

#include "clips/listpanel.h"
#include "platform/inifile.h"
#include "platform/picture.h"
#include "profiles/devicefamily.h"
#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/skinentry.h"
#include "skinwriter.h"
#include "standinwindows.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

namespace {

constexpr QRgb kKey = 0xFFFF00FF;

using TSection = std::map<QString, QString>;  // key -> value, in the file's spelling

// The skin file as written: sections of keys, read line by line so stray keys show up too.
std::map<QString, TSection> ReadSkinFile(const QString& path) {
    std::map<QString, TSection> sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return sections;
    }
    QString section;
    for (const QString& line :
         QString::fromUtf8(file.readAll()).split(QRegularExpression("\r?\n"))) {
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2);
            sections[section];
        } else if (line.contains('=')) {
            sections[section][line.section('=', 0, 0)] = line.section('=', 1);
        }
    }
    return sections;
}

bool SameImage(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

int BitsPerPixel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray header = file.read(30);
    return header.size() == 30 && header.startsWith("BM")
               ? uchar(header[28]) | uchar(header[29]) << 8
               : 0;
}

bool HasKeyPixel(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            if (rgb.pixel(x, y) == kKey) {
                return true;
            }
        }
    }
    return false;
}

struct TWindowCase {
    const char* section;
    QSize size;
    std::function<std::unique_ptr<TStandInWindow>()> make;
};

const TWindowCase kWindows[] = {
    {"SelectWindow", formlayout::select::kWindow, MakeSelectWindow},
    {"MainWindow", formlayout::main::kWindow, MakeMainWindow},
    {"ProgressWindow", formlayout::progress::kWindow, MakeProgressWindow},
    {"ProfileWindow", formlayout::profile::kWindow, MakeProfileWindow},
    {"AboutWindow", formlayout::about::kWindow, MakeAboutWindow},
};

class DefaultSkinTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        written_ = WriteDefaultSkin(dir_->Path());
        skinFile_ = ReadSkinFile(dir_->Path() + "Skin.ini");
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }

    static QString Dir() { return dir_->Path(); }
    static const std::map<QString, TSection>& SkinFile() { return skinFile_; }
    static TSkinEntry Entry(const QString& section, const QString& key) {
        return TSkinEntry(TIniFile(Dir() + "Skin.ini"), section, key, Dir());
    }

    // Skins a stand-in window; any error box is answered and fails the test.
    static std::unique_ptr<TStandInWindow> Skinned(const TWindowCase& window) {
        auto result = window.make();
        TModalAnswerer answerer;
        EXPECT_TRUE(ApplySkin(result.get(), Dir())) << window.section;
        EXPECT_TRUE(answerer.Texts().isEmpty()) << window.section;
        return result;
    }

    static inline TempDir* dir_ = nullptr;
    static inline bool written_ = false;
    static inline std::map<QString, TSection> skinFile_;
};

TEST_F(DefaultSkinTest, SectionsHoldExactlyTheKeysOfTheWindowsComponents) {
    ASSERT_TRUE(written_);
    ASSERT_EQ(SkinFile().size(), std::size(kWindows));
    for (const TWindowCase& window : kWindows) {
        ASSERT_TRUE(SkinFile().count(window.section)) << window.section;
        const TSection& section = SkinFile().at(window.section);
        QStringList expected{"MaskBmp"};
        const auto standIn = window.make();
        for (const TSkinComponent& component : standIn->SkinComponents()) {
            expected << component.control->objectName();
        }
        QStringList found;
        for (const auto& [key, value] : section) {
            found << key;
        }
        expected.sort();
        found.sort();
        EXPECT_EQ(found, expected) << window.section;
    }
}

TEST_F(DefaultSkinTest, EveryNamedFileExistsAndDecodesInTheLoadersFormat) {
    int files = 0;
    for (const auto& [section, keys] : SkinFile()) {
        for (const auto& [key, value] : keys) {
            const QStringList fields = key == "MaskBmp" ? QStringList{value} : value.split(',');
            for (const QString& field : fields) {
                if (!field.endsWith(".bmp") && !field.endsWith(".jpg")) {
                    continue;
                }
                ++files;
                const QString path = Dir() + field;
                ASSERT_TRUE(QFile::exists(path)) << qPrintable(section + "/" + key + ": " + field);
                if (field.endsWith(".bmp")) {
                    EXPECT_EQ(BitsPerPixel(path), 24) << qPrintable(field);
                    EXPECT_FALSE(TSkinEntry::LoadBitmapFile(path).isNull()) << qPrintable(field);
                } else {
                    EXPECT_NO_THROW(LoadPicture(path)) << qPrintable(field);
                }
            }
        }
    }
    EXPECT_GT(files, 60);
}

TEST_F(DefaultSkinTest, SplashAndFamilyPicturesAreJpegsOfTheirSizes) {
    const QImage splash = LoadPicture(Dir() + "startup.jpg");
    EXPECT_GE(splash.width(), 300);
    for (const TDeviceFamily& family : kDeviceFamilies) {
        EXPECT_EQ(LoadPicture(Dir() + family.PictureFile).size(), QSize(300, 224))
            << family.PictureFile;
    }
}

// Mean difference per channel between doubled shrunk to unit's size and unit itself: small when
// both are drawings of the same art at the same places.
double ShrunkDifference(const QImage& unit, const QImage& doubled) {
    const QImage a = unit.convertToFormat(QImage::Format_RGB32);
    const QImage b = doubled.scaled(unit.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// True when every 2 x 2 block is of one colour: a 1 x picture enlarged, not drawn anew.
bool EnlargedByBlocks(const QImage& doubled) {
    const QImage image = doubled.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p) {
                return false;
            }
        }
    }
    return true;
}

int DistinctColours(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < rgb.height() && colours.size() <= 8; ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            colours.insert(rgb.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

TEST_F(DefaultSkinTest, EveryPictureButTheMasksHasADoubleSizeDrawingOfTheSameArt) {
    int pictures = 0;
    QDirIterator it(Dir(), {"*.bmp", "*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = path.mid(Dir().size());
        if (name.contains("@2x")) {
            continue;
        }
        const QString doublePath = DoubleSizeName(path);
        if (name.endsWith("mask.bmp")) {
            // Shapes are cut from the 1 x mask alone.
            EXPECT_FALSE(QFile::exists(doublePath)) << qPrintable(name);
            continue;
        }
        ++pictures;
        ASSERT_TRUE(QFile::exists(doublePath)) << qPrintable(name);
        const QImage unit = LoadPicture(path);
        const QImage doubled = LoadPicture(doublePath);
        ASSERT_EQ(doubled.size(), unit.size() * 2) << qPrintable(name);
        EXPECT_LT(ShrunkDifference(unit, doubled), 8.0) << qPrintable(name);
        if (DistinctColours(unit) > 8) {
            EXPECT_FALSE(EnlargedByBlocks(doubled)) << qPrintable(name);
        }
    }
    EXPECT_GT(pictures, 60);
}

// Magenta cuts shapes; a picture that is not cut must not carry it, or it would show.
TEST_F(DefaultSkinTest, MagentaOnlyInPicturesThatAreCut) {
    QStringList cut;
    for (const auto& [section, keys] : SkinFile()) {
        cut << keys.at("MaskBmp");
    }
    const TSkinEntry bar = Entry("MainWindow", "TP_Progress");
    cut << bar.Field(1) << bar.Field(13) << bar.Field(14);
    for (const char* key : {"Img_CP", "Img_TP"}) {
        const TSkinEntry fill = Entry("ProgressWindow", key);
        ASSERT_TRUE(fill.Flag(11)) << key;
        cut << fill.Field(1);
        // A transparent picture drops the colour of its bottom-left pixel.
        const QImage picture = fill.LoadBitmap(1);
        EXPECT_EQ(picture.pixel(0, picture.height() - 1), kKey) << key;
    }
    for (const auto& [section, keys] : SkinFile()) {
        for (const auto& [key, value] : keys) {
            for (const QString& field : value.split(',')) {
                if (field.endsWith(".bmp") && !cut.contains(field)) {
                    EXPECT_FALSE(HasKeyPixel(TSkinEntry::LoadBitmapFile(Dir() + field)))
                        << qPrintable(field);
                }
            }
        }
    }
}

TEST_F(DefaultSkinTest, MasksCutOnlyTheFourCorners) {
    constexpr int kCorner = 12;
    for (const TWindowCase& window : kWindows) {
        const QImage mask =
            TSkinEntry::LoadBitmapFile(Dir() + SkinFile().at(window.section).at("MaskBmp"));
        ASSERT_EQ(mask.size(), window.size) << window.section;
        int corners[4] = {};
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                const bool key = mask.pixel(x, y) == kKey;
                const bool left = x < kCorner, right = x >= mask.width() - kCorner;
                const bool top = y < kCorner, bottom = y >= mask.height() - kCorner;
                if (!key) {
                    EXPECT_EQ(mask.pixel(x, y), 0xFFFFFFFF);
                    continue;
                }
                ASSERT_TRUE((left || right) && (top || bottom))
                    << window.section << " cuts " << x << "," << y;
                ++corners[(right ? 1 : 0) + (bottom ? 2 : 0)];
            }
        }
        for (int count : corners) {
            EXPECT_GT(count, 10) << window.section;
        }
        EXPECT_EQ(corners[0], corners[3]) << window.section;
    }
}

TEST_F(DefaultSkinTest, EveryWindowTakesTheSkinAtItsFormSizeAndIsShaped) {
    for (const TWindowCase& window : kWindows) {
        auto skinned = Skinned(window);
        EXPECT_EQ(skinned->size(), window.size) << window.section;
        const QRegion shape = skinned->mask();
        EXPECT_FALSE(shape.contains(QPoint(0, 0))) << window.section;
        EXPECT_FALSE(shape.contains(QPoint(window.size.width() - 1, window.size.height() - 1)));
        EXPECT_TRUE(shape.contains(QPoint(window.size.width() / 2, 0))) << window.section;
        EXPECT_TRUE(shape.contains(QPoint(0, window.size.height() / 2))) << window.section;
    }
}

TEST_F(DefaultSkinTest, EveryButtonShowsWithDistinctStateLooksAndAHint) {
    for (const TWindowCase& window : kWindows) {
        auto skinned = Skinned(window);
        for (const TSkinComponent& component : skinned->SkinComponents()) {
            auto* button = qobject_cast<TImageButton*>(component.control);
            if (!button) {
                continue;
            }
            const QString name = QString(window.section) + "/" + button->objectName();
            EXPECT_TRUE(button->isVisibleTo(skinned.get())) << qPrintable(name);
            EXPECT_FALSE(button->NormalImage().isNull()) << qPrintable(name);
            EXPECT_FALSE(SameImage(button->NormalImage(), button->HoverImage()))
                << qPrintable(name);
            EXPECT_FALSE(SameImage(button->NormalImage(), button->DownImage())) << qPrintable(name);
            EXPECT_FALSE(SameImage(button->HoverImage(), button->DownImage())) << qPrintable(name);
            EXPECT_FALSE(button->toolTip().isEmpty()) << qPrintable(name);
            const TSkinEntry entry = Entry(window.section, button->objectName());
            if (entry.Flag(15)) {
                EXPECT_FALSE(SameImage(button->NormalImage(), button->DisabledImage()))
                    << qPrintable(name);
            }
            if (auto* dynamic = qobject_cast<TDynamicImageButton*>(button)) {
                EXPECT_EQ(dynamic->Frames().empty(), entry.Field(2).toLower() == "static")
                    << qPrintable(name);
            }
        }
    }
}

TEST_F(DefaultSkinTest, KeepRatioButtonHasTwoLooksAndTwoHints) {
    auto window = Skinned(kWindows[1]);
    auto* keep = window->findChild<TCheckImageButton*>("TB_AS_Keep");
    ASSERT_NE(keep, nullptr);
    const QImage unchecked = keep->NormalImage();
    keep->SetChecked(true);
    EXPECT_FALSE(SameImage(unchecked, keep->NormalImage()));
    EXPECT_FALSE(keep->UncheckedHint().isEmpty());
    EXPECT_FALSE(keep->CheckedHint().isEmpty());
    EXPECT_NE(keep->UncheckedHint(), keep->CheckedHint());
}

TEST_F(DefaultSkinTest, ListPanelAndPositionBarAreLaidOutAroundThePreview) {
    auto window = Skinned(kWindows[1]);
    auto* list = window->findChild<TListPanel*>("TP_ImageList");
    auto* bar = window->findChild<TFixProgress*>("TP_Progress");
    ASSERT_TRUE(list && bar);
    // Items are 388 wide at left 2: the content must hold them whole.
    EXPECT_GE(list->ContentPanel()->width(), 390);
    EXPECT_NE(list->UpButton(), nullptr);
    EXPECT_NE(list->DownButton(), nullptr);
    const QRect preview = formlayout::main::kPreview;
    EXPECT_GE(bar->geometry().top(), preview.bottom());
    EXPECT_LE(bar->geometry().left(), preview.left() + 10);
    EXPECT_GE(bar->geometry().right(), preview.right() - 10);
    ASSERT_NE(bar->StartMarker(), nullptr);
    ASSERT_NE(bar->EndMarker(), nullptr);
    EXPECT_TRUE(bar->Thumb()->Shaped());
    EXPECT_EQ(window->findChild<TImage*>("Img_VideoPic")->size(), preview.size());
}

// Nothing the skin places may cover another control or a form part, TB_Start and TB_Stop
// included: they take turns, and a Stop that lands just after a run ended must not be a Start.
// (Form parts among themselves are the form's business: the about window's title lies on its own
// shadow.)
TEST_F(DefaultSkinTest, ControlsAndFormPartsDoNotOverlap) {
    for (const TWindowCase& window : kWindows) {
        auto skinned = Skinned(window);
        const std::vector<QWidget*>& formParts = skinned->FormParts();
        std::vector<QWidget*> placed = formParts;
        for (const TSkinComponent& component : skinned->SkinComponents()) {
            if (!qobject_cast<TImage*>(component.control) &&
                component.control->parentWidget() == skinned.get()) {
                placed.push_back(component.control);
            }
        }
        const QRect inside(QPoint(0, 0), window.size);
        for (size_t i = 0; i < placed.size(); ++i) {
            if (placed[i]->parentWidget() != skinned.get()) {
                continue;
            }
            const QString a = placed[i]->objectName();
            EXPECT_TRUE(inside.contains(placed[i]->geometry())) << qPrintable(a);
            for (size_t j = i + 1; j < placed.size(); ++j) {
                const QString b = placed[j]->objectName();
                const bool bothFormParts = j < formParts.size();
                if (bothFormParts || placed[j]->parentWidget() != skinned.get()) {
                    continue;
                }
                EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
                    << window.section << ": " << qPrintable(a) << " and " << qPrintable(b);
            }
        }
    }
}

// The labels lie on the background; under them it must be plain and light for dark text.
TEST_F(DefaultSkinTest, BackgroundIsPlainAndLightUnderTheLabels) {
    const std::pair<const char*, std::vector<QRect>> windows[] = {
        {"ProgressWindow",
         {formlayout::progress::kCurrentClipCaption, formlayout::progress::kSrcName,
          formlayout::progress::kDestinationCaption, formlayout::progress::kDesName,
          formlayout::progress::kStartTimeCaption, formlayout::progress::kStartTime,
          formlayout::progress::kStopTimeCaption, formlayout::progress::kStopTime,
          formlayout::progress::kLengthCaption, formlayout::progress::kLength,
          formlayout::progress::kCurrentTimeCaption, formlayout::progress::kCurrentTime}},
        {"AboutWindow",
         {formlayout::about::kTitle.united(formlayout::about::kTitleShadow),
          formlayout::about::kVersion}},
    };
    for (const auto& [section, labels] : windows) {
        const QImage background = Entry(section, "Img_Background").LoadPicture(1);
        for (const QRect& label : labels) {
            for (int y = label.top(); y <= label.bottom(); ++y) {
                for (int x = label.left(); x <= label.right(); ++x) {
                    ASSERT_GT(qGray(background.pixel(x, y)), 225)
                        << section << " at " << x << "," << y;
                }
            }
        }
    }
}

// The profile box's card lines up with the cards above and below it: along a row, its edges are
// where theirs are.
TEST_F(DefaultSkinTest, ProfileCardLinesUpWithTheCardsAroundIt) {
    const QImage background = Entry("MainWindow", "Img_Background").LoadPicture(1);
    const QRect profileBox = formlayout::main::kProfileBox;
    const auto edges = [&](int y) {
        std::vector<int> found;
        for (int x = 1; x < background.width(); ++x) {
            if (x >= profileBox.left() - 4 && x < background.width() - 24) {
                continue;  // the box, its button and the cards' insides
            }
            const QColor a = background.pixelColor(x - 1, y);
            const QColor b = background.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                    std::abs(a.blue() - b.blue()) >
                12) {
                found.push_back(x);
            }
        }
        return found;
    };
    const std::vector<int> profileRow = edges(profileBox.center().y());
    EXPECT_FALSE(profileRow.empty());
    EXPECT_EQ(profileRow, edges(profileBox.bottom() + 60));
    EXPECT_EQ(profileRow, edges(profileBox.top() - 100));
}

}  // namespace
