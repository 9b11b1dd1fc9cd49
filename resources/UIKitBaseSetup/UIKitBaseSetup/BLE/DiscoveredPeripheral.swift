import CoreBluetooth
import Foundation

/// A peripheral seen during a scan, with what its last advertisement said.
struct DiscoveredPeripheral: Identifiable, Equatable {
    let id: UUID
    let name: String?
    let rssi: Int
    let peripheral: CBPeripheral

    var displayName: String { name ?? id.uuidString }

    static func == (lhs: DiscoveredPeripheral, rhs: DiscoveredPeripheral) -> Bool {
        lhs.id == rhs.id && lhs.name == rhs.name && lhs.rssi == rhs.rssi
    }
}
