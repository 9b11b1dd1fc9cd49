import SwiftUI

/// The first screen of the app.
struct HomeView: View {
    var body: some View {
        NavigationStack {
            ScrollView {
                AdaptiveStack {
                    VStack(alignment: .leading, spacing: 8) {
                        Text("Welcome to SwiftUIBaseSetup")
                            .font(.largeTitle.bold())
                            .accessibilityIdentifier("home.title")
                        Text("Build your first screen in HomeView.swift.")
                            .foregroundStyle(.secondary)
                    }
                    Spacer(minLength: 0)
                }
                .adaptiveLayout()
                .padding(.vertical)
            }
            .navigationTitle("Home")
            .navigationBarTitleDisplayMode(.inline)
        }
        .tint(.accentColor)
    }
}

#Preview {
    HomeView()
}
