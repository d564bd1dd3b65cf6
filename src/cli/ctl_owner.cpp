#include "cli/ctl_owner.h"

#include <algorithm>
#include <iostream>

#include "i18n/label_text.h"
#include "platform/ipv4_address.h"
#include "protocol/module_configuration.h"

namespace rmt4::ctl {

MessageButton CtlOwner::ShowMessage(MessageStyle style, std::string_view text, std::string_view caption) {
  MessageButton answer = MessageButton::Ok;
  if (style == MessageStyle::YesNo) answer = answerYes_ ? MessageButton::Yes : MessageButton::No;
  if (style == MessageStyle::OkCancel) answer = answerYes_ ? MessageButton::Ok : MessageButton::Cancel;
  {
    std::lock_guard lock(mutex_);
    shown_.push_back({std::string(text), std::string(caption)});
  }
  std::string line = "rmt4ctl: ";
  if (!caption.empty()) line += std::string(caption) + ": ";
  line += text;
  if (style == MessageStyle::YesNo) line += answer == MessageButton::Yes ? " [yes]" : " [no; --yes answers yes]";
  if (style == MessageStyle::OkCancel) line += answer == MessageButton::Ok ? " [ok]" : " [cancel; --yes confirms]";
  std::cerr << line << std::endl;
  return answer;
}

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void CtlOwner::PostNotify(UiNotify code, int argument) {
  if (code == UiNotify::RefreshFinished) {
    std::lock_guard lock(mutex_);
    if (!secondsToReadComplete_) secondsToReadComplete_ = SecondsSince(started_);
  }
  if (code == UiNotify::EditNotConfirmed) {
    std::cerr << "rmt4ctl: address " << argument << ": " << LabelText(LabelId::EditNotConfirmed)
              << " (given up after 11 sends; reading the console's value again)" << std::endl;
    return;
  }
  if (code == UiNotify::ConsoleBusy) {
    std::lock_guard lock(mutex_);
    busyWith_ = static_cast<std::uint32_t>(argument);
    return;
  }
  if (code != UiNotify::ValueArrived || argument < 0 || argument >= static_cast<int>(kParamCount)) return;
  std::function<void(ParamAddress)> listener;
  {
    std::lock_guard lock(mutex_);
    arrived_.set(static_cast<std::size_t>(argument));
    listener = valueListener_;
  }
  if (listener) listener(static_cast<ParamAddress>(argument));
}

void CtlOwner::SendStatus(LinkStatus status) {
  status_.store(status);
  if (status == LinkStatus::Connected) {
    std::lock_guard lock(mutex_);
    if (!secondsToConnected_) secondsToConnected_ = SecondsSince(started_);
  }
  // A console that stops answering and comes back is worth a line always.
  const bool answeringAgain = status == LinkStatus::Connected && notAnswering_.exchange(false);
  if (status == LinkStatus::NotAnswering) notAnswering_.store(true);
  if (verbose_ || status == LinkStatus::NotAnswering || answeringAgain) {
    std::cerr << "rmt4ctl: link: " << LabelText(LinkStatusLabel(status)) << std::endl;
  }
}

void CtlOwner::ShowSearchTarget(const std::string& target) {
  if (verbose_) std::cerr << "rmt4ctl: trying " << target << std::endl;
}

std::optional<std::uint32_t> CtlOwner::ChooseConsole(const std::vector<std::uint32_t>& consoles) {
  if (consoles.empty()) return std::nullopt;
  std::uint32_t chosen = consoles.front();
  if (preferredConsole_ && std::find(consoles.begin(), consoles.end(), *preferredConsole_) != consoles.end()) {
    chosen = *preferredConsole_;
  }
  std::cerr << "rmt4ctl: " << consoles.size() << " consoles answered;";
  for (std::uint32_t console : consoles) std::cerr << ' ' << FormatIpv4(console);
  std::cerr << "; using " << FormatIpv4(chosen) << " (--net ADDRESS picks one)" << std::endl;
  return chosen;
}

void CtlOwner::SetProgressFormat(const std::string& format) {
  if (!verbose_) return;
  // Only the label: the percentage follows the format's placeholder.
  std::cerr << "rmt4ctl: " << format.substr(0, format.find(':')) << std::endl;
}

void CtlOwner::SetValueListener(std::function<void(ParamAddress)> listener) {
  std::lock_guard lock(mutex_);
  valueListener_ = std::move(listener);
}

bool CtlOwner::Said(std::initializer_list<LabelId> texts, std::size_t since) const {
  std::lock_guard lock(mutex_);
  for (std::size_t i = since; i < shown_.size(); ++i) {
    for (LabelId id : texts) {
      if (shown_[i].text == LabelText(id)) return true;
    }
  }
  return false;
}

std::size_t CtlOwner::MessageCount() const {
  std::lock_guard lock(mutex_);
  return shown_.size();
}

std::optional<double> CtlOwner::SecondsToConnected() const {
  std::lock_guard lock(mutex_);
  return secondsToConnected_;
}

std::optional<double> CtlOwner::SecondsToReadComplete() const {
  std::lock_guard lock(mutex_);
  return secondsToReadComplete_;
}

std::optional<std::uint32_t> CtlOwner::BusyWith() const {
  std::lock_guard lock(mutex_);
  return busyWith_;
}

std::size_t CtlOwner::ArrivedCount() const {
  std::lock_guard lock(mutex_);
  return arrived_.count();
}

}  // namespace rmt4::ctl
