#include "automation/osc_dispatch.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "automation/osc_names.h"
#include "values/meter_levels.h"
#include "values/param_catalogue.h"
#include "values/param_numbers.h"

namespace rmt4 {
namespace {

constexpr std::string_view kNormalisedPrefix = "/n/";
constexpr std::string_view kFadeSuffix = "/fade";

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

std::string SecondsText(double limit) { return std::to_string(static_cast<long>(limit)); }

/// A time in seconds: a number from 0 to `limit`.
std::optional<double> SecondsOf(const OscArgument& argument, double limit) {
  if (!argument.IsNumber() || !(argument.number >= 0 && argument.number <= limit)) return std::nullopt;
  return argument.number;
}

/// How long to follow: the argument at `at` when it is the last, the default when there is none.
std::optional<double> FollowSeconds(const std::vector<OscArgument>& arguments, std::size_t at) {
  if (arguments.size() == at) return kDefaultFollowSeconds;
  if (arguments.size() == at + 1) return SecondsOf(arguments[at], kMaxFollowSeconds);
  return std::nullopt;
}

class Dispatcher {
 public:
  Dispatcher(OscPeer sender, std::int64_t nowMs, OscState& state, OscDispatched& out)
      : replyTo_(state.clients.ReplyTo(sender)), sender_(sender), nowMs_(nowMs), state_(state), out_(out) {}

  void Handle(const OscMessage& message) {
    replyTo_ = state_.clients.ReplyTo(sender_);
    const std::string command = Lowered(message.address);
    const std::vector<OscArgument>& arguments = message.arguments;
    if (command == "/status") return Status(message);
    if (command == "/reply_port") return ReplyPort(message);
    if (command == "/subscribe") return Subscribe(message);
    if (command == "/unsubscribe") return Unsubscribe(message);
    if (command == "/meters") return Meters(message);

    const bool normalised = command.starts_with(kNormalisedPrefix);
    std::string_view path(message.address);
    if (normalised) path.remove_prefix(kNormalisedPrefix.size() - 1);
    const bool fade = command.ends_with(kFadeSuffix);
    if (fade) path.remove_suffix(kFadeSuffix.size());
    if (path.size() > kMaxOscAddress) {
      return Refuse(message, "the address is longer than " + std::to_string(kMaxOscAddress) + " characters");
    }
    const OscSelection selection = SelectParams(path);
    if (!selection.error.empty()) return Refuse(message, selection.error);
    if (fade) return Fade(message, selection, normalised);
    if (normalised && !selection.bits.empty()) {
      return Refuse(message, selection.bits[0]->name + " has no range to give a position in");
    }
    if (arguments.empty()) return Get(message, selection, normalised);
    if (arguments.size() == 1) return Set(message, selection, normalised);
    Refuse(message, message.address + " takes one value to set it, or none to read it");
  }

  void Finish() {
    if (capped_) {
      out_.replies.push_back({replyTo_,
                              {"/error",
                               {OscArgument::String("/"),
                                OscArgument::String("too many answers for one packet; the rest were left out")}}});
    }
  }

 private:
  void Reply(OscMessage message) {
    if (out_.replies.size() >= kMaxRepliesPerPacket) {
      capped_ = true;
      return;
    }
    out_.replies.push_back({replyTo_, std::move(message)});
  }

  void Refuse(const OscMessage& message, std::string reason) {
    ++out_.refused;
    Reply({"/error", {OscArgument::String(message.address), OscArgument::String(std::move(reason))}});
  }

  /// The word `argument` asks for at `address`, or why not.
  ParsedValue ValueFrom(ParamAddress address, const OscArgument& argument, bool normalised) const {
    const std::string& name = ParamAt(address).name;
    if (IsReadOnlyWord(address)) return {std::nullopt, name + " is read only"};
    if (argument.type == OscArgument::Type::kString) {
      if (normalised) return {std::nullopt, name + ": a position takes a number 0..1"};
      return ParseValue(address, argument.text);
    }
    if (!argument.IsNumber() || std::isnan(argument.number)) {
      return {std::nullopt, name + ": takes a number or a text, not OSC type '" + argument.text + "'"};
    }
    return normalised ? ValueFromNormalised(address, argument.number) : ValueFromNumber(address, argument.number);
  }

  /// The bits `argument` asks of a bit name: 1 or 0, or a word as rmt4ctl set takes it.
  static ParsedValue BitsFrom(const BitParam& bits, const OscArgument& argument) {
    if (argument.type == OscArgument::Type::kString) return ParseBits(bits, argument.text);
    if (argument.IsNumber() && (argument.number == 0 || argument.number == 1)) {
      return {BitsFor(bits, argument.number == 1), {}, bits.mask};
    }
    return {std::nullopt, bits.name + ": takes 1, 0 or " + BitRangeText(bits)};
  }

  /// The edits a value asks of every selected word and bit name; none (refused) when any refuses it.
  std::optional<std::vector<RequestedEdit>> EditsFor(const OscMessage& message, const OscSelection& selection,
                                                     const OscArgument& argument, bool normalised) {
    std::vector<RequestedEdit> edits;
    for (const ParamAddress address : selection.addresses) {
      if (!Accept(message, address, ValueFrom(address, argument, normalised), edits)) return std::nullopt;
    }
    for (const BitParam* bits : selection.bits) {
      if (!Accept(message, bits->address, BitsFrom(*bits, argument), edits)) return std::nullopt;
    }
    return edits;
  }

  /// Adds `parsed` as the edit of `address`, or refuses the message with its reason.
  bool Accept(const OscMessage& message, ParamAddress address, const ParsedValue& parsed,
              std::vector<RequestedEdit>& edits) {
    if (!parsed.raw) {
      Refuse(message, parsed.error);
      return false;
    }
    edits.push_back({address, *parsed.raw, parsed.ownBits});
    return true;
  }

  void Get(const OscMessage& message, const OscSelection& selection, bool normalised) {
    if (!normalised) {
      for (const ParamAddress address : selection.addresses) Reply(ValueMessage(state_.params, address));
      for (const BitParam* bits : selection.bits) Reply(BitsMessage(state_.params, *bits));
      return;
    }
    std::vector<OscMessage> positions;
    for (const ParamAddress address : selection.addresses) {
      const std::optional<double> position = NormalisedOf(address, state_.params.Value(address));
      if (!position) return Refuse(message, ParamAt(address).name + " has no range to give a position in");
      positions.push_back(
          {std::string(kNormalisedPrefix.substr(0, 2)) + OscAddressOf(address), {OscArgument::Float(*position)}});
    }
    for (OscMessage& position : positions) Reply(std::move(position));
  }

  void Set(const OscMessage& message, const OscSelection& selection, bool normalised) {
    const auto edits = EditsFor(message, selection, message.arguments[0], normalised);
    if (!edits) return;
    // The latest word wins over a fade under way; a bit name (a send's pre/post) leaves its level fading.
    for (const ParamAddress address : selection.addresses) state_.fades.Cancel(address);
    for (const RequestedEdit& edit : *edits) state_.edits.Add(edit);
    out_.edited = out_.edited || !edits->empty();
  }

  void Fade(const OscMessage& message, const OscSelection& selection, bool normalised) {
    const auto& arguments = message.arguments;
    const std::optional<double> seconds =
        arguments.size() == 2 ? SecondsOf(arguments[1], kMaxFadeSeconds) : std::nullopt;
    if (!seconds) {
      return Refuse(message,
                    message.address + " takes a target value and a time of 0.." + SecondsText(kMaxFadeSeconds) + " s");
    }
    if (!selection.bits.empty()) return Refuse(message, selection.bits[0]->name + " cannot fade");
    for (const ParamAddress address : selection.addresses) {
      if (!Fades::CanFade(address)) return Refuse(message, ParamAt(address).name + " cannot fade");
    }
    const auto targets = EditsFor(message, selection, arguments[0], normalised);
    if (!targets) return;
    for (const RequestedEdit& target : *targets) {
      state_.fades.Start(target.address, state_.params.Value(target.address), target, *seconds, nowMs_);
    }
  }

  std::int64_t Until(double seconds) const { return nowMs_ + static_cast<std::int64_t>(std::llround(seconds * 1000)); }

  void Subscribe(const OscMessage& message) {
    const auto& arguments = message.arguments;
    const bool patterned = !arguments.empty() && arguments[0].type == OscArgument::Type::kString;
    const std::size_t timed = patterned ? 1 : 0;
    const std::optional<double> seconds = FollowSeconds(arguments, timed);
    if (!seconds) {
      return Refuse(message, "/subscribe takes an address pattern and a time of 0.." + SecondsText(kMaxFollowSeconds) +
                                 " s, both optional");
    }
    const std::string pattern = patterned ? Lowered(arguments[0].text) : std::string();
    OscSelection selection;
    if (patterned) {
      selection = SelectParams(pattern);
      if (!selection.error.empty()) return Refuse(message, selection.error);
    } else {
      for (ParamAddress a = 0; a < kParamCount; ++a) selection.addresses.push_back(a);
      for (const BitParam& bits : BitParams()) selection.bits.push_back(&bits);
    }
    // The meters change many times a second: /meters streams them.
    std::erase(selection.addresses, address::kLevelMeters);
    if (*seconds == 0) return state_.clients.Unsubscribe(replyTo_, pattern);
    if (!state_.clients.Subscribe(replyTo_, pattern, selection.addresses, selection.bits, Until(*seconds))) {
      Refuse(message, "too many followers: at most " + std::to_string(OscClients::kMaxClients) + " clients with " +
                          std::to_string(OscClients::kMaxSubscriptions) + " subscriptions each");
    }
  }

  void Unsubscribe(const OscMessage& message) {
    const auto& arguments = message.arguments;
    if (arguments.empty()) return state_.clients.Unsubscribe(replyTo_, std::nullopt);
    if (arguments.size() == 1 && arguments[0].type == OscArgument::Type::kString) {
      return state_.clients.Unsubscribe(replyTo_, Lowered(arguments[0].text));
    }
    Refuse(message, "/unsubscribe takes the address pattern subscribed, or nothing for all");
  }

  void Meters(const OscMessage& message) {
    const auto& arguments = message.arguments;
    const std::optional<double> seconds = FollowSeconds(arguments, 0);
    if (!seconds) {
      return Refuse(message, "/meters takes a time of 0.." + SecondsText(kMaxFollowSeconds) + " s, optional");
    }
    if (!state_.clients.WatchMeters(replyTo_, Until(*seconds))) {
      Refuse(message, "too many followers: at most " + std::to_string(OscClients::kMaxClients) + " clients");
    }
  }

  void ReplyPort(const OscMessage& message) {
    const auto& arguments = message.arguments;
    const bool valid = arguments.size() == 1 && arguments[0].IsNumber() && arguments[0].number >= 0 &&
                       arguments[0].number <= 65535 && std::trunc(arguments[0].number) == arguments[0].number;
    if (!valid) return Refuse(message, "/reply_port takes a port 1..65535, or 0 to answer at the sending port again");
    state_.clients.SetReplyPort(sender_.address, static_cast<std::uint16_t>(arguments[0].number), nowMs_);
  }

  void Status(const OscMessage& message) {
    if (!message.arguments.empty()) return Refuse(message, "/status takes no value");
    const OscLinkStatus status = state_.status ? state_.status() : OscLinkStatus{};
    Reply({"/status",
           {OscArgument::String(status.state), OscArgument::String(status.transport),
            OscArgument::String(status.console)}});
  }

  OscPeer replyTo_;
  const OscPeer sender_;
  const std::int64_t nowMs_;
  OscState& state_;
  OscDispatched& out_;
  bool capped_ = false;
};

}  // namespace

OscDispatched DispatchOscPacket(std::span<const std::uint8_t> packet, OscPeer sender, std::int64_t nowMs,
                                OscState& state) {
  OscDispatched out;
  const std::optional<std::vector<OscMessage>> messages = DecodeOscPacket(packet);
  if (!messages) {
    out.malformed = true;
    return out;
  }
  Dispatcher dispatcher(sender, nowMs, state, out);
  for (const OscMessage& message : *messages) dispatcher.Handle(message);
  dispatcher.Finish();
  return out;
}

OscMessage ValueMessage(const ParamTable& params, ParamAddress address) {
  const std::uint16_t raw = params.Value(address);
  const std::optional<ParamNumber> number = NumberOf(address, raw);
  // A word without a number in a unit goes as the raw word rmt4ctl --raw prints.
  OscArgument value = OscArgument::Int(raw);
  if (number && number->whole) value = OscArgument::Int(static_cast<std::int32_t>(number->value));
  if (number && !number->whole) value = OscArgument::Float(number->value);
  const std::string text = FormatValue(address, raw, [&params](ParamAddress a) { return params.Value(a); });
  return {OscAddressOf(address), {value, OscArgument::String(text)}};
}

OscMessage BitsMessage(const ParamTable& params, const BitParam& bits) {
  const std::uint16_t raw = params.Value(bits.address);
  return {OscAddressOf(bits), {OscArgument::Int(BitsNumber(bits, raw)), OscArgument::String(FormatBits(bits, raw))}};
}

OscMessage MetersMessage(std::uint16_t meterWord) {
  const MeterLevels levels = MeterLevelsFromWord(meterWord);
  return {"/meters", {OscArgument::Float(MeterDbfs(levels.left)), OscArgument::Float(MeterDbfs(levels.right))}};
}

}  // namespace rmt4
