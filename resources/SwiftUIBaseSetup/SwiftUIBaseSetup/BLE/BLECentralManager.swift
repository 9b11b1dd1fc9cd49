import Combine
import CoreBluetooth
import Foundation

/// Scans for, connects to and disconnects from Bluetooth Low Energy
/// peripherals, publishing what it sees for the interface to show.
///
/// The app's Info.plist needs an `NSBluetoothAlwaysUsageDescription`.
final class BLECentralManager: NSObject, ObservableObject {
    enum ConnectionState: Equatable {
        case disconnected
        case connecting(UUID)
        case connected(UUID)
    }

    @Published private(set) var bluetoothState: CBManagerState = .unknown
    @Published private(set) var isScanning = false
    @Published private(set) var discoveredPeripherals: [DiscoveredPeripheral] = []
    @Published private(set) var connectionState: ConnectionState = .disconnected
    @Published private(set) var lastError: Error?

    private var centralManager: CBCentralManager?
    private var pendingServices: [CBUUID]?
    private var connectedPeripheral: CBPeripheral?

    /// Creating the manager asks the user for Bluetooth permission the first
    /// time, so it is created on first use rather than at launch.
    private var central: CBCentralManager {
        if let centralManager { return centralManager }
        let manager = CBCentralManager(delegate: self, queue: .main)
        centralManager = manager
        return manager
    }

    /// Scans for peripherals advertising any of `services` (all when nil).
    /// If Bluetooth is not powered on yet, the scan starts once it is.
    func startScanning(for services: [CBUUID]? = nil) {
        pendingServices = services
        discoveredPeripherals.removeAll()
        guard central.state == .poweredOn else {
            isScanning = true
            return
        }
        central.scanForPeripherals(withServices: services, options: [CBCentralManagerScanOptionAllowDuplicatesKey: false])
        isScanning = true
    }

    func stopScanning() {
        centralManager?.stopScan()
        pendingServices = nil
        isScanning = false
    }

    func connect(_ peripheral: DiscoveredPeripheral) {
        stopScanning()
        connectionState = .connecting(peripheral.id)
        connectedPeripheral = peripheral.peripheral
        central.connect(peripheral.peripheral)
    }

    func disconnect() {
        guard let connectedPeripheral else { return }
        central.cancelPeripheralConnection(connectedPeripheral)
    }
}

extension BLECentralManager: CBCentralManagerDelegate {
    func centralManagerDidUpdateState(_ central: CBCentralManager) {
        bluetoothState = central.state
        if central.state == .poweredOn, isScanning {
            central.scanForPeripherals(withServices: pendingServices)
        } else if central.state != .poweredOn {
            connectionState = .disconnected
        }
    }

    func centralManager(
        _ central: CBCentralManager,
        didDiscover peripheral: CBPeripheral,
        advertisementData: [String: Any],
        rssi RSSI: NSNumber
    ) {
        let name = advertisementData[CBAdvertisementDataLocalNameKey] as? String ?? peripheral.name
        let discovered = DiscoveredPeripheral(
            id: peripheral.identifier,
            name: name,
            rssi: RSSI.intValue,
            peripheral: peripheral
        )
        if let index = discoveredPeripherals.firstIndex(where: { $0.id == discovered.id }) {
            discoveredPeripherals[index] = discovered
        } else {
            discoveredPeripherals.append(discovered)
        }
    }

    func centralManager(_ central: CBCentralManager, didConnect peripheral: CBPeripheral) {
        connectionState = .connected(peripheral.identifier)
    }

    func centralManager(_ central: CBCentralManager, didFailToConnect peripheral: CBPeripheral, error: Error?) {
        lastError = error
        connectedPeripheral = nil
        connectionState = .disconnected
    }

    func centralManager(_ central: CBCentralManager, didDisconnectPeripheral peripheral: CBPeripheral, error: Error?) {
        lastError = error
        connectedPeripheral = nil
        connectionState = .disconnected
    }
}
