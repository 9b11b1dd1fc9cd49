// Linked into the test programs of the ThreadSanitizer build only.
//
// Qt comes from the system, built without the sanitizer: the mutex and the
// queues with which QThreadPool hands a task to a pool thread, and with which
// QMetaObject::invokeMethod hands a queued call to the receiver's thread, are
// invisible to it. Everything the task or the call reads that the sending
// thread wrote before (the captures of a lambda) would then be reported as a
// race. The entry points our code calls for these hand-overs (both
// QThreadPool::start, which QtConcurrent::run uses too, and the one behind
// invokeMethod with a function) are defined here in front of Qt's own: each
// wraps the work, tells the sanitizer that the sending thread's writes happen
// before the wrapper runs (__tsan_release on handing it over, __tsan_acquire
// where it starts, both on the wrapper's address, which the receiving thread
// has without reading anything), then calls Qt's definition. Anything the
// two threads do after the hand-over is still checked. A wrapped runnable is
// not in the pool's queue under its own address: QThreadPool::tryTake does
// not find it, and QFuture::waitForFinished waits for it instead of running
// it on the waiting thread.

#include <QMetaObject>
#include <QThreadPool>

#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

#include <functional>

namespace {

template <typename Function>
Function qtDefinition(const char *mangledName)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, mangledName));
}

/// Wraps the slot object of a call handed to another thread: the wrapped
/// call (or its destruction, when it never runs) starts with the acquire.
class HandedOverCall : public QtPrivate::QSlotObjectBase
{
public:
    explicit HandedOverCall(QtPrivate::QSlotObjectBase *call)
        : QSlotObjectBase(&impl)
        , m_call(call)
    {
        __tsan_release(this);
    }

private:
    static void impl(int which, QSlotObjectBase *base, QObject *receiver, void **args, bool *ret)
    {
        auto *self = static_cast<HandedOverCall *>(base);
        __tsan_acquire(self);
        switch (which) {
        case Call:
            self->m_call->call(receiver, args);
            break;
        case Compare:
            *ret = self->m_call->compare(args);
            break;
        case Destroy:
            self->m_call->destroyIfLastRef();
            delete self;
            break;
        }
    }

    QtPrivate::QSlotObjectBase *m_call;
};

/// A task handed to a pool thread; its address is the one the acquire
/// names, so finding it reads nothing the sending thread wrote.
struct HandedOverTask
{
    std::function<void()> work;

    void operator()()
    {
        __tsan_acquire(this);
        work();
    }
};

/// A runnable handed to a pool thread (a QtConcurrent::run task). Qt deletes
/// the wrapper; the wrapped one as its own autoDelete says.
class HandedOverRunnable : public QRunnable
{
public:
    explicit HandedOverRunnable(QRunnable *runnable)
        : m_runnable(runnable)
    {
        __tsan_release(this);
    }

    void run() override
    {
        __tsan_acquire(this);
        const bool deleteAfterRun = m_runnable->autoDelete();
        m_runnable->run();
        if (deleteAfterRun)
            delete m_runnable;
    }

private:
    QRunnable *m_runnable;
};

} // namespace

bool QMetaObject::invokeMethodImpl(QObject *object, QtPrivate::QSlotObjectBase *slot, Qt::ConnectionType type,
                                   void *ret)
{
    using Definition = bool (*)(QObject *, QtPrivate::QSlotObjectBase *, Qt::ConnectionType, void *);
    static const auto qt = qtDefinition<Definition>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    return qt(object, new HandedOverCall(slot), type, ret);
}

void QThreadPool::start(std::function<void()> functionToRun, int priority)
{
    using Definition = void (*)(QThreadPool *, std::function<void()>, int);
    static const auto qt = qtDefinition<Definition>("_ZN11QThreadPool5startESt8functionIFvvEEi");
    std::function<void()> handedOver = HandedOverTask{std::move(functionToRun)};
    __tsan_release(handedOver.target<HandedOverTask>());
    qt(this, std::move(handedOver), priority);
}

void QThreadPool::start(QRunnable *runnable, int priority)
{
    using Definition = void (*)(QThreadPool *, QRunnable *, int);
    static const auto qt = qtDefinition<Definition>("_ZN11QThreadPool5startEP9QRunnablei");
    qt(this, runnable ? new HandedOverRunnable(runnable) : nullptr, priority);
}
