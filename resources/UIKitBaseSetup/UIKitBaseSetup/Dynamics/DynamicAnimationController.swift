import UIKit

/// Physics-based motion for views of one container: drop views under
/// gravity so they bounce on the container's floor, snap a view to a point,
/// or give it a push. Built on UIKit Dynamics.
final class DynamicAnimationController {
    private let animator: UIDynamicAnimator
    private let gravity = UIGravityBehavior()
    private let collision = UICollisionBehavior()
    private let bounce = UIDynamicItemBehavior()
    private var snaps: [ObjectIdentifier: UISnapBehavior] = [:]

    /// - Parameter referenceView: the view whose bounds are the world of the
    ///   animation; animated views must be its subviews.
    init(referenceView: UIView, elasticity: CGFloat = 0.5) {
        animator = UIDynamicAnimator(referenceView: referenceView)
        collision.translatesReferenceBoundsIntoBoundary = true
        bounce.elasticity = elasticity
        bounce.allowsRotation = false
        baseBehaviors.forEach(animator.addBehavior)
    }

    var isRunning: Bool { animator.isRunning }

    /// Lets `views` fall and bounce until they rest on the container's floor.
    func drop(_ views: [UIView]) {
        views.forEach { view in
            releaseSnap(of: view)
            gravity.addItem(view)
            collision.addItem(view)
            bounce.addItem(view)
        }
    }

    /// Moves `view` to `point` with a springy overshoot and holds it there.
    func snap(_ view: UIView, to point: CGPoint, damping: CGFloat = 0.6) {
        remove(view)
        let snap = UISnapBehavior(item: view, snapTo: point)
        snap.damping = damping
        snaps[ObjectIdentifier(view)] = snap
        animator.addBehavior(snap)
    }

    /// Gives `view` an instantaneous push in `direction` (points per second
    /// squared, scaled by the view's size).
    func push(_ view: UIView, direction: CGVector, magnitude: CGFloat = 1) {
        let push = UIPushBehavior(items: [view], mode: .instantaneous)
        push.pushDirection = direction
        push.magnitude = magnitude
        push.action = { [weak animator, weak push] in
            guard let push, !push.active else { return }
            animator?.removeBehavior(push)
        }
        collision.addItem(view)
        animator.addBehavior(push)
    }

    /// Takes `view` out of every behaviour; it stays where it is.
    func remove(_ view: UIView) {
        releaseSnap(of: view)
        gravity.removeItem(view)
        collision.removeItem(view)
        bounce.removeItem(view)
    }

    /// Stops all motion.
    func removeAll() {
        animator.removeAllBehaviors()
        snaps.removeAll()
        gravity.items.forEach(gravity.removeItem)
        collision.items.forEach(collision.removeItem)
        bounce.items.forEach(bounce.removeItem)
        baseBehaviors.forEach(animator.addBehavior)
    }

    private var baseBehaviors: [UIDynamicBehavior] { [gravity, collision, bounce] }

    private func releaseSnap(of view: UIView) {
        if let snap = snaps.removeValue(forKey: ObjectIdentifier(view)) {
            animator.removeBehavior(snap)
        }
    }
}
