#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/mainform.h"
#include "app/mainformfixture.h"
#include "documents/unitwave.h"
#include "support/recordingui.h"

// Opening a file whose samples the program converts: the status bar says so,
// and the first save over the file asks before it writes fewer bits.

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A mono 8000 Hz file with a plain header: `tag` 1 PCM or 3 float.
Bytes MonoFile(std::uint16_t tag, std::uint16_t bits, const Bytes& data) {
  Bytes b = {'R', 'I', 'F', 'F'};
  Put(b, 36 + static_cast<std::uint32_t>(data.size()), 4);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<std::uint8_t>(c));
  Put(b, 16, 4);
  Put(b, tag, 2);
  Put(b, 1, 2);
  Put(b, 8000, 4);
  Put(b, 8000u * bits / 8, 4);
  Put(b, bits / 8, 2);
  Put(b, bits, 2);
  for (char c : std::string("data")) b.push_back(static_cast<std::uint8_t>(c));
  Put(b, static_cast<std::uint32_t>(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return Bytes(bytes.begin(), bytes.end());
}

void WriteAll(const QString& path, const Bytes& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

class WideWavFile : public MainFormFixture {
 protected:
  // Opens the file, changes the wave so that Save is enabled, and saves.
  void OpenChangeAndSave(const QString& path) {
    form->OpenWaveFiles({path});
    ASSERT_NE(form->GetActiveWaveUnit(), nullptr);
    form->GetActiveWaveUnit()->SetChanged();
    Save();
  }
  void Save() {
    form->UpdateCommands();
    ASSERT_TRUE(form->Action("FileSave")->isEnabled());
    form->Action("FileSave")->trigger();
  }

  QTemporaryDir dir;
};

TEST_F(WideWavFile, FirstSaveOverTheFileAsksAndNoKeepsIt) {
  // 24-bit 0x123456 and -0x123456 read as 0x1234 = 4660 and -4661.
  Bytes data;
  Put(data, 0x123456, 3);
  Put(data, static_cast<std::uint32_t>(-0x123456), 3);
  const QString path = QDir(dir.path()).filePath("take.wav");
  const Bytes original = MonoFile(1, 24, data);
  WriteAll(path, original);

  ui->answer = MessageResult::No;
  OpenChangeAndSave(path);
  EXPECT_EQ(form->StatusPanel(0), "take.wav: 24-bit PCM, read as 16 bits");
  const std::vector<std::string> question = {
      "Save: The file holds 24-bit samples; saving writes 16 bits. Save anyway?"};
  EXPECT_EQ(ui->Texts(), question);
  EXPECT_EQ(ui->messages.at(0).buttons, MessageButtons::YesNo);
  EXPECT_EQ(ReadAll(path), original);
  TUnitWave& unit = *form->GetActiveWaveUnit();
  EXPECT_EQ(unit.GetState(), TUnitState::Changed);

  // Yes writes the 16-bit values; the file then holds what the wave holds,
  // so the next save asks nothing.
  ui->messages.clear();
  ui->answer = MessageResult::Yes;
  Save();
  EXPECT_EQ(ui->Texts(), question);
  EXPECT_EQ(unit.GetState(), TUnitState::Saved);
  Bytes saved16;
  Put(saved16, 4660, 2);
  Put(saved16, static_cast<std::uint32_t>(-4661), 2);
  EXPECT_EQ(ReadAll(path), MonoFile(1, 16, saved16));
  ui->messages.clear();
  unit.SetChanged();
  Save();
  EXPECT_TRUE(ui->messages.empty());
}

TEST_F(WideWavFile, OnlyAFileOfMoreBitsThanSavedAsks) {
  Bytes float32;
  Put(float32, 0x3F000000, 4);  // 0.5f
  Bytes pcm16;
  Put(pcm16, 0x4000, 2);
  const struct {
    const char* name;
    Bytes file;
    const char* status;    // panel 0 after opening
    const char* question;  // empty: none
  } kCases[] = {
      {"float.wav", MonoFile(3, 32, float32), "float.wav: 32-bit float, read as 16 bits",
       "Save: The file holds 32-bit float samples; saving writes 16 bits. Save anyway?"},
      {"plain.wav", MonoFile(1, 16, pcm16), "", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const QString path = QDir(dir.path()).filePath(c.name);
    WriteAll(path, c.file);
    form->SetStatusPanel(0, "");
    ui->messages.clear();
    ui->answer = MessageResult::Yes;
    OpenChangeAndSave(path);
    EXPECT_EQ(form->StatusPanel(0), c.status);
    EXPECT_EQ(ui->Texts(), std::string(c.question).empty() ? std::vector<std::string>{}
                                                           : std::vector<std::string>{c.question});
    EXPECT_EQ(form->GetActiveWaveUnit()->GetState(), TUnitState::Saved);
  }
  // Save As to another file writes no fewer bits over anything: no question,
  // and the wave now belongs to a 16-bit file.
  const QString other = QDir(dir.path()).filePath("other.wav");
  const QString wide = QDir(dir.path()).filePath("wide.wav");
  WriteAll(wide, MonoFile(3, 32, float32));
  form->OpenWaveFiles({wide});
  ui->messages.clear();
  form->AskSaveWaveFile = [&]() -> std::optional<std::string> { return other.toStdString(); };
  form->UpdateCommands();
  form->Action("FileSaveAs")->trigger();
  EXPECT_TRUE(ui->messages.empty());
  EXPECT_EQ(ReadAll(other).size(), 46u);
  EXPECT_EQ(ReadAll(wide), MonoFile(3, 32, float32));
  EXPECT_FALSE(form->GetActiveWaveUnit()->GetSource().Converted());
}

}  // namespace
