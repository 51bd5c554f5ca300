// The committed assets hold what the program relies on: picture sizes and depths, the cursor's
// hot spot, the sound clips' format and length, the movie container's offsets, and data files
// that the program's own readers accept.
#include <sndfile.h>
#include <unistd.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FlagDescriptions.h"
#include "LittleEndian.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kResources = STATEWRIGHT_RESOURCES_DIR;
const std::string kPackaging = STATEWRIGHT_PACKAGING_DIR;

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t LE(const Bytes& bytes, std::size_t offset, std::size_t count) {
    EXPECT_LE(offset + count, bytes.size());
    return offset + count <= bytes.size() ? sw::ReadLE(bytes.data() + offset, count) : 0;
}

std::string Text(const Bytes& bytes, std::size_t offset, std::size_t count) {
    return offset + count <= bytes.size()
               ? std::string(bytes.begin() + offset, bytes.begin() + offset + count)
               : std::string();
}

// Image plugins (GIF, ICO) are found through the application object.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "asset_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

struct ExpectedBitmap {
    int id, width, height, bitsPerPixel;
};

TEST(AssetBitmaps, HeadersGiveTheFixedSizesAndDepths) {
    const ExpectedBitmap expected[] = {{130, 413, 65, 24}, {131, 463, 259, 8}, {139, 6, 102, 24},
                                       {142, 203, 12, 24}, {143, 169, 14, 24}, {144, 7, 102, 24},
                                       {155, 10, 14, 24},  {156, 11, 14, 24},  {157, 14, 14, 24}};
    for (const ExpectedBitmap& want : expected) {
        SCOPED_TRACE(want.id);
        const Bytes bmp = ReadFile(kResources + "/bitmaps/" + std::to_string(want.id) + ".bmp");
        ASSERT_EQ(Text(bmp, 0, 2), "BM");
        EXPECT_EQ(static_cast<int>(LE(bmp, 28, 2)), want.bitsPerPixel);
        EXPECT_EQ(LE(bmp, 30, 4), 0u);  // uncompressed
        // The rest of the header is as Qt, which the program draws them with, reads it.
        const QImage image(QStringLiteral(":/bitmap/%1").arg(want.id));
        EXPECT_EQ(image.size(), QSize(want.width, want.height));
    }
}

TEST(AssetIcons, CheckBoxesAndApplicationIconHaveTheirSizes) {
    const QImage appIcon(QStringLiteral(":/icon/128"));
    EXPECT_EQ(appIcon.size(), QSize(32, 32));
    // The desktop's sizes of the same emblem, on a transparent ground; 32 px is icon 128 itself.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(
            QString::fromStdString(kPackaging + "/icons/" + std::to_string(size) + ".png"));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_TRUE(icon.hasAlphaChannel()) << size;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size * 3 / 4)), 255) << size;  // the page
        if (size == 32) {
            EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32),
                      appIcon.convertToFormat(QImage::Format_ARGB32));
        }
    }
    for (int id : {167, 168, 169, 170}) {
        const QImage icon(QStringLiteral(":/icon/%1").arg(id));
        EXPECT_EQ(icon.size(), QSize(16, 16)) << id;
        EXPECT_EQ(icon.pixel(0, 0), qRgb(255, 255, 255)) << id;  // drawn on white
    }
}

// Its hot spot is read by the program from the file: PagesTest.StatsHotArea... checks (11, 4).
TEST(AssetCursor, IsA32By32MonochromeCursor) {
    const Bytes cur = ReadFile(kResources + "/cursors/147.cur");
    ASSERT_GE(cur.size(), 22u + 40u);
    EXPECT_EQ(LE(cur, 2, 2), 2u);                    // a cursor, not an icon
    EXPECT_EQ(LE(cur, LE(cur, 18, 4) + 14, 2), 1u);  // one bit per pixel
    EnsureApplication();
    QImageReader reader(QStringLiteral(":/cursor/147"), "ico");
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), QSize(32, 32)) << reader.errorString().toStdString();
}

struct ExpectedSound {
    int id, rate;
    double seconds;
};

TEST(AssetSounds, EveryClipIsMonoAdpcmOfItsRateAndLength) {
    const ExpectedSound expected[] = {
        {179, 11025, 3.7}, {180, 11025, 2.4}, {182, 22050, 2.7}, {183, 11025, 4.1},
        {184, 22050, 3.3}, {185, 11025, 6.1}, {186, 11025, 1.8}, {187, 11025, 3.3},
        {188, 11025, 4.8}, {189, 22050, 8.7}, {190, 11025, 4.5}, {191, 22050, 2.2},
        {192, 11025, 2.5}, {193, 11025, 2.4}, {194, 11025, 2.9}, {195, 11025, 9.6},
        {196, 11025, 7.8}, {197, 11025, 1.5}, {198, 11025, 1.7}, {199, 11025, 2.9}};
    for (const ExpectedSound& want : expected) {
        SCOPED_TRACE(want.id);
        const std::string path = kResources + "/wave/" + std::to_string(want.id) + ".wav";
        // The player decodes the clips with libsndfile: it must read them whole.
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        EXPECT_EQ(info.samplerate, want.rate);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_MS_ADPCM);
        std::vector<short> pcm(static_cast<std::size_t>(info.frames));
        EXPECT_EQ(sf_readf_short(file, pcm.data(), info.frames), info.frames);
        EXPECT_NEAR(static_cast<double>(info.frames) / want.rate, want.seconds, 0.05);
        sf_close(file);

        QFile embedded(QStringLiteral(":/wave/%1").arg(want.id));
        ASSERT_TRUE(embedded.open(QIODevice::ReadOnly));
        EXPECT_EQ(static_cast<std::size_t>(embedded.size()), ReadFile(path).size());
    }
    // Two clips have an exact size that the program states.
    EXPECT_EQ(ReadFile(kResources + "/wave/198.wav").size(), 9818u);
    EXPECT_EQ(ReadFile(kResources + "/wave/193.wav").size(), 13914u);
}

TEST(AssetMovies, ContainerHoldsTwoAnimatedGifsAtTheirPlaces) {
    const Bytes data = ReadFile(kResources + "/data/statewright.dat");
    ASSERT_EQ(data.size(), 75842u);
    EnsureApplication();
    for (const auto& [offset, length] :
         {std::pair<std::size_t, std::size_t>{624, 68450}, {69328, 6514}}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(Text(data, offset, 6), "GIF89a");
        EXPECT_EQ(data[offset + length - 1], 0x3B);
        QByteArray gif(reinterpret_cast<const char*>(data.data() + offset),
                       static_cast<qsizetype>(length));
        QBuffer buffer(&gif);
        QImageReader reader(&buffer, "gif");
        ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
        EXPECT_TRUE(reader.supportsAnimation());
        int frames = 0;
        while (reader.canRead() && !reader.read().isNull()) {
            ++frames;
        }
        EXPECT_GT(frames, 1);
    }
    // Movie A fills the hidden movie area of the Misc. page, 140 x 113 dialog units.
    QByteArray first(reinterpret_cast<const char*>(data.data() + 624), 68450);
    QBuffer buffer(&first);
    const QSize size = QImageReader(&buffer, "gif").size();
    EXPECT_NEAR(size.width(), 210, 10);
    EXPECT_NEAR(size.height(), 184, 10);
}

TEST(AssetTexts, AboutTextFitsTheBoxWithWindowsLineEnds) {
    const Bytes about = ReadFile(kResources + "/data/about.dat");
    EXPECT_GT(about.size(), 0u);
    EXPECT_LT(about.size(), 2160u);
    for (std::size_t i = 0; i < about.size(); ++i) {
        if (about[i] == '\n') {
            EXPECT_TRUE(i > 0 && about[i - 1] == '\r') << "bare line feed at " << i;
        } else if (about[i] == '\r') {
            EXPECT_TRUE(i + 1 < about.size() && about[i + 1] == '\n') << "lone CR at " << i;
        }
        EXPECT_NE(about[i], 0) << "a zero byte would end the text at " << i;
    }
}

TEST(AssetTexts, DefaultDescriptionsReadWithoutComplaint) {
    const Bytes file = ReadFile(kResources + "/data/event.txt");
    sw::DescriptionTable table;
    ASSERT_TRUE(sw::ParseDescriptions(std::string(file.begin(), file.end()), table));
    int described = 0;
    for (int n = 1; n <= 1024; ++n) {
        described += table[n].find_first_not_of("\r\n") != std::string::npos;
    }
    EXPECT_GE(described, 150);
}

TEST(AssetTexts, DataFilesAreCopiedBesideTheExecutables) {
    for (const char* name :
         {"about.dat", "statewright.dat", "event.txt", "README.TXT", "WHATSNEW.TXT"}) {
        const Bytes source = ReadFile(kResources + "/data/" + name);
        EXPECT_GT(source.size(), 0u) << name;
        EXPECT_TRUE(ReadFile(std::string(STATEWRIGHT_DATA_OUTPUT_DIR) + "/" + name) == source)
            << name << " differs from its copy";
    }
}

}  // namespace
