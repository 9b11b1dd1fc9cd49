#include "project/PresetPodCatalog.h"

namespace plinth {

namespace {

struct PresetPod
{
    const char *title;
    const char *description;
};

// Descriptions are the libraries' own taglines, kept word for word.
constexpr PresetPod presetPods[] = {
    {"R.swift", "Strong typed, autocompleted resources like images, fonts and segues in Swift projects"},
    {"Bagel", "a little native network debugging tool for iOS"},
    {"Sentry", "a little native network debugging tool for iOS"},
    {"ZAZadAdodize",
     "ZAZadAdodize is an open-source framework that compares the current version of the app with the store "
     "version and returns the essential details of it like app URL, new app version number, new release note, "
     "etc. So you can either redirect or notify the user to update their app."},
    {"Kingfisher", "A lightweight, pure-Swift library for downloading and caching images from the web."},
    {"Navajo-Swift", "Password Validator & Strength Evaluator"},
    {"SwiftMessages", "A very flexible message bar for UIKit and SwiftUI."},
    {"PhoneNumberKit",
     "A Swift framework for parsing, formatting and validating international phone numbers. Inspired by "
     "Google's libphonenumber."},
    {"SFSafeSymbols", "Safely access Apple's SF Symbols using static typing"},
    {"SwiftDate",
     "\xF0\x9F\x90\x94 Toolkit to parse, validate, manipulate, compare and display dates, time & timezones in "
     "Swift."},
    {"SwiftLint", "A tool to enforce Swift style and conventions."},
    {"Connectivity",
     "\xF0\x9F\x8C\x90 Makes Internet connectivity detection more robust by detecting Wi-Fi networks without "
     "Internet access."},
};

} // namespace

QList<ListItem> presetPodCatalog()
{
    QList<ListItem> catalog;
    catalog.reserve(std::size(presetPods));
    for (const PresetPod &pod : presetPods) {
        ListItem item;
        item.title = QString::fromUtf8(pod.title);
        item.description = QString::fromUtf8(pod.description);
        item.podType = PodType::preset;
        item.interface = UIInterface::preset;
        catalog.append(item);
    }
    return catalog;
}

} // namespace plinth
